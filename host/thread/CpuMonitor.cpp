#include "host/thread/CpuMonitor.h"

#include <fstream>
#include <numeric>
#include <utility>

#include "host/core/AceCleanupLogger.h"
#include "host/infra/AlarmRegistry.h"
#include "host/infra/ROConfiguration.h"

namespace {
const Logger& monitorLogger()
{
    return AceCleanupLogger::get("linkhaven.thread.CpuMonitor");
}

bool readPercentage(const ROConfiguration& in_config, const std::string& in_strKey, double& out_dValue)
{
    ParameterValue value;
    if (in_config.getValue(in_strKey, value) && value.getFloating(out_dValue) && out_dValue >= 0.0)
        return true;
    LH_ERROR(monitorLogger(), "CpuMonitor::configure : " << in_strKey << " is missing or not a percentage");
    return false;
}
} // namespace

CpuMonitor::CpuMonitor(std::string in_strStatPath)
    : m_strStatPath(std::move(in_strStatPath)),
      m_pAlarm(AlarmRegistry::getInstance().defineAlarm(ALARM_NAME, "The average system CPU usage is high"))
{
}

CpuMonitor::~CpuMonitor()
{
    if (m_bAlarmRaised)
        setAlarm(false);
}

bool CpuMonitor::configure(const char* in_szPrefix, const ROConfiguration& in_config)
{
    const std::string strPrefix = std::string(in_szPrefix) + ".";
    int nWindowSize = 0;
    double dSet = 0.0, dReset = 0.0;
    if (!in_config.getInt(strPrefix + "averageWindowSize", nWindowSize) || nWindowSize <= 0) {
        LH_ERROR(monitorLogger(), "CpuMonitor::configure : " << strPrefix << "averageWindowSize is missing or not above 0");
        return false;
    }
    if (!readPercentage(in_config, strPrefix + "setAlarmThreshold", dSet) ||
        !readPercentage(in_config, strPrefix + "resetAlarmThreshold", dReset))
        return false;
    if (dReset > dSet) {
        LH_ERROR(monitorLogger(), "CpuMonitor::configure : the reset threshold " << dReset << " is above the set threshold "
                                                                                << dSet);
        return false;
    }
    m_uiWindowSize = static_cast<unsigned>(nWindowSize);
    m_dSetThreshold = dSet;
    m_dResetThreshold = dReset;
    m_vUsage.clear();
    return true;
}

void CpuMonitor::handleTimeout(const ACE_Time_Value&, void*)
{
    Counters counters{0, 0};
    if (!readCounters(counters))
        return;
    const bool bHadCounters = std::exchange(m_bHaveCounters, true);
    const Counters last = std::exchange(m_lastCounters, counters);
    // No time has been counted since the last read (or the counters went back): nothing to measure.
    if (!bHadCounters || counters.ulTotal <= last.ulTotal || counters.ulBusy < last.ulBusy)
        return;

    m_vUsage.push_back(100.0 * double(counters.ulBusy - last.ulBusy) / double(counters.ulTotal - last.ulTotal));
    while (m_vUsage.size() > m_uiWindowSize)
        m_vUsage.pop_front();
    const double dAverage = getAverageUsage();
    LH_TRACE(monitorLogger(), "system CPU usage " << m_vUsage.back() << "%, average " << dAverage << "%");
    if (!m_bAlarmRaised && dAverage >= m_dSetThreshold) {
        LH_WARN(monitorLogger(), "average system CPU usage " << dAverage << "% reached " << m_dSetThreshold << "%");
        setAlarm(true);
    } else if (m_bAlarmRaised && dAverage < m_dResetThreshold) {
        LH_INFO(monitorLogger(), "average system CPU usage " << dAverage << "% fell below " << m_dResetThreshold << "%");
        setAlarm(false);
    }
}

double CpuMonitor::getAverageUsage() const
{
    if (m_vUsage.empty())
        return 0.0;
    return std::accumulate(m_vUsage.begin(), m_vUsage.end(), 0.0) / double(m_vUsage.size());
}

bool CpuMonitor::readCounters(Counters& out_counters)
{
    // The first line: "cpu" and the time spent in user, nice, system, idle, iowait, irq, softirq,
    // steal, ... ; idle and iowait are the time the CPUs had nothing to run.
    std::ifstream stat(m_strStatPath);
    std::string strLabel;
    std::uint64_t aulTimes[8] = {};
    stat >> strLabel;
    for (std::uint64_t& ulTime : aulTimes)
        stat >> ulTime;
    if (!stat || strLabel != "cpu") {
        if (!std::exchange(m_bReadFailing, true))
            LH_ERROR(monitorLogger(), "cannot read the CPU counters from " << m_strStatPath);
        return false;
    }
    m_bReadFailing = false;
    out_counters.ulTotal = std::accumulate(std::begin(aulTimes), std::end(aulTimes), std::uint64_t(0));
    out_counters.ulBusy = out_counters.ulTotal - aulTimes[3] - aulTimes[4];
    return true;
}

void CpuMonitor::setAlarm(bool in_bRaised)
{
    m_bAlarmRaised = in_bRaised;
    AlarmRegistry::getInstance().setAlarmState(*m_pAlarm, in_bRaised ? Alarm::RAISED_STATE : Alarm::CLEARED_STATE);
}
