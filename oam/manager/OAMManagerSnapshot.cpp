// The manager's snapshot for monitoring readers: one method object, one wait.

#include "oam/manager/OAMManager.h"

#include <chrono>

#include "host/core/StaticAccountMemAllocator.h"
#include "host/infra/AlarmRegistry.h"
#include "host/thread/CpuMonitor.h"
#include "host/thread/ThreadChecker.h"
#include "oam/manager/Snapshot_MO.h"
#include "oam/om/OMObserver.h"

namespace {
// Writes one reporter OM's value into its slot, on the reporter's thread.
class SnapshotOMObserver : public OMObserver
{
  public:
    SnapshotOMObserver(std::shared_ptr<OAMManager::SnapshotGather> in_pGather, std::size_t in_uiSlot)
        : m_pGather(std::move(in_pGather)), m_uiSlot(in_uiSlot)
    {
    }
    bool getOMSuccess(const char*, const ParameterValue& in_value) override
    {
        m_pGather->m_snapshot.vOMs[m_uiSlot].value = in_value;
        return true;
    }
    bool getOMFailure(const char*) override { return true; }

  private:
    const std::shared_ptr<OAMManager::SnapshotGather> m_pGather;
    const std::size_t m_uiSlot;
};
} // namespace

bool OAMManager::takeSnapshot(OAMSnapshot& out_snapshot, ACE_Time_Value in_timeout)
{
    if (getThreadChecker().isBoundToCurrentThread())
        return false;
    std::promise<OAMSnapshot> answer;
    std::future<OAMSnapshot> future = answer.get_future();
    if (!enqueue(new Snapshot_MO(*this, std::make_shared<SnapshotGather>(std::move(answer))), "OAMManager::takeSnapshot"))
        return false;
    const auto timeout = std::chrono::seconds(in_timeout.sec()) + std::chrono::microseconds(in_timeout.usec());
    if (future.wait_for(timeout) != std::future_status::ready)
        return false;
    try {
        out_snapshot = future.get();
        return true;
    } catch (const std::future_error&) {
        return false;
    }
}

MOCallStatus OAMManager::takeSnapshot_i(const std::shared_ptr<SnapshotGather>& in_pGather)
{
    LH_CHECK_TASK_THREAD();
    OAMSnapshot& snapshot = in_pGather->m_snapshot;
    for (const OMDescription& description : m_vOwnOMDescriptions) {
        ParameterValue value;
        const auto found = m_OMHash.find(description.strName);
        snapshot.vOMs.push_back({description, {}});
        if (found != m_OMHash.end() && found->second->getOMValue(description.strName.c_str(), value))
            snapshot.vOMs.back().value = value;
    }
    for (const auto& entry : m_vReporterOMDescriptions)
        snapshot.vOMs.push_back({entry.second, {}});

    AlarmRegistry::AlarmVector vAlarms;
    AlarmRegistry::getInstance().getAllAlarms(vAlarms);
    for (const auto& pAlarm : vAlarms) {
        const auto found = m_alarmStateHash.find(pAlarm->getName());
        snapshot.vAlarms.push_back({pAlarm->getName(), found != m_alarmStateHash.end(),
                                    found != m_alarmStateHash.end() ? found->second
                                                                    : std::chrono::system_clock::time_point()});
    }
    if (const auto pAppender = alarmStateAppender())
        snapshot.alarmColour = pAppender->getAlarmState();
    if (m_pCpuMonitor)
        snapshot.cpuUsageRatio = m_pCpuMonitor->getAverageUsage() / 100.0;
    StaticAccountMemAllocator::getMemAccountInfo(snapshot.memAccounts);
    snapshot.traffic = m_trafficCounters.read();
    in_pGather->m_bFilled = true;

    // The slots are all there before the first reporter may answer.
    const std::size_t uiFirstReporterSlot = m_vOwnOMDescriptions.size();
    for (std::size_t ui = 0; ui < m_vReporterOMDescriptions.size(); ++ui) {
        const auto& entry = m_vReporterOMDescriptions[ui];
        m_vOMReporter[entry.first]->getOM(entry.second.strName.c_str(),
                                          new SnapshotOMObserver(in_pGather, uiFirstReporterSlot + ui));
    }
    return MO_CALL_SUCCESS;
}
