#include <algorithm>
#include <atomic>
#include <climits>
#include <thread>

#include "host/core/Assertion.h"
#include "host/infra/RWConfiguration.h"
#include "host/thread/CpuMonitor.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/oam/manager/StartedManager.h"
#include "tests/support/LogCapture.h"

namespace {
const std::string MONITOR = "linkhaven.system.cpu.monitor.";

// Only the settings given (-1, or NONE for the start time-out, leaves one out); a threshold comes with
// a window of two observations.
const long NONE = LONG_MIN;
TSHandle<ROConfiguration> settings(long in_lPeriodMs = -1, long in_lStartTimeoutSec = NONE, double in_dThreshold = -1)
{
    const auto hConfig = TSHandle<RWConfiguration>::make();
    if (in_lPeriodMs >= 0)
        hConfig->setValue(MONITOR + "monitoringPeriodInMs", ParameterValue(in_lPeriodMs));
    if (in_lStartTimeoutSec != NONE)
        hConfig->setValue("linkhaven.startTimeoutSec", ParameterValue(in_lStartTimeoutSec));
    if (in_dThreshold >= 0) {
        hConfig->setValue(MONITOR + "averageWindowSize", ParameterValue(2L));
        hConfig->setValue(MONITOR + "setAlarmThreshold", ParameterValue(in_dThreshold));
        hConfig->setValue(MONITOR + "resetAlarmThreshold", ParameterValue(in_dThreshold));
    }
    return hConfig;
}

// Records the manager's timer calls on its thread; read them once the thread has ended.
struct TimerWatchingManager : OAMManager
{
    std::vector<std::string> m_vTimerCalls;

    long scheduleTimer(TimeoutProcessor* in_pProcessor, void* in_pData, const ACE_Time_Value& in_delay, const ACE_Time_Value& in_interval, std::uint64_t in_ulCount) override
    {
        m_vTimerCalls.push_back("after " + std::to_string(in_delay.msec()) + "ms, every " + std::to_string(in_interval.msec()) + "ms, count " + std::to_string(in_ulCount));
        return OAMManager::scheduleTimer(in_pProcessor, in_pData, in_delay, in_interval, in_ulCount);
    }
    bool cancelTimer(long in_lTimerId, void** out_ppData) override
    {
        m_vTimerCalls.push_back(std::string("cancel while ") + Task::getStateString(getTaskState()));
        return OAMManager::cancelTimer(in_lTimerId, out_ppData);
    }
};
} // namespace

TEST(CpuMonitorInstallation, TimerFollowsTheConfigurationAndEndsWithTheTask)
{
    const std::string SCHEDULED = "after 60000ms, every 1500ms, count 0", NOT_READ = "failed to read parameter ";
    // The configuration; whether the manager runs, and is then killed rather than stopped; its timer
    // calls; a line it logs.
    const std::tuple<TSHandle<ROConfiguration>, bool, bool, StringVector, LogLevel, std::string> cases[] = {
        {settings(0), true, false, {}, INFO_LOG_LEVEL, "disabling System CPU monitoring"},
        {settings(1500, 30, 90), true, false, {SCHEDULED, "cancel while STOPPING"}, INFO_LOG_LEVEL, "enabling System CPU monitoring"},
        {settings(1500, 30, 90), true, true, {SCHEDULED}, DEBUG_LOG_LEVEL, "setting System CPU monitoring period to 1500ms"},
        {settings(1500, -30, 90), true, true, {"after 0ms, every 1500ms, count 0"}, INFO_LOG_LEVEL, "enabling System CPU monitoring"},
        {settings(), false, false, {}, ERROR_LOG_LEVEL, NOT_READ + MONITOR + "monitoringPeriodInMs"},
        {settings(500), false, false, {}, ERROR_LOG_LEVEL, NOT_READ + "linkhaven.startTimeoutSec"},
        {settings(500, 30), false, false, {}, ERROR_LOG_LEVEL, "failed to configure System CPU monitor"},
    };
    for (const auto& [hConfig, bStarts, bKill, vTimerCalls, level, strLine] : cases) {
        SCOPED_TRACE(strLine + (bKill ? ", killed" : ""));
        AssertionCapture assertions;
        LogCapture log("linkhaven.oam.manager");
        auto pManager = std::make_unique<TimerWatchingManager>();
        pManager->initialize(hConfig);
        pManager->setTaskName("watched");
        ASSERT_TRUE(pManager->start());
        EXPECT_EQ(pManager->waitForStart(ACE_Time_Value(60)), bStarts);
        EXPECT_TRUE(!bStarts || (bKill ? pManager->kill() : pManager->stop()));
        ASSERT_TRUE(pManager->waitUntilDone(ACE_Time_Value(60)));
        EXPECT_EQ(pManager->m_vTimerCalls, vTimerCalls);
        EXPECT_TRUE(log.contains(level, strLine));
        pManager.reset();
        EXPECT_EQ(assertions.conditions(), StringVector{});
    }
}

namespace {
// The manager hears the registry first (it registered when named), so this hears each change after
// the manager has queued it. Registered before the monitor exists, so it misses no change.
class CpuLoadTest : public StartedManagerTest, AlarmRegistry::Observer
{
  protected:
    TSHandle<ROConfiguration> configuration() override { return settings(50, 0, 80.0); }
    void beforeStart(OAMManager&) override { AlarmRegistry::getInstance().addObserver(this); }
    void TearDown() override { StartedManagerTest::TearDown(); AlarmRegistry::getInstance().removeObserver(this); }
    void newAlarmState(const Alarm& in_alarm) override
    {
        if (in_alarm.getName() == CpuMonitor::ALARM_NAME)
            (in_alarm.getState() == Alarm::RAISED_STATE ? m_raised : m_cleared).countDown();
    }

    CountDownLatch m_raised{1}, m_cleared{1};
};
} // namespace

TEST_F(CpuLoadTest, TheCpuAlarmIsListedWhileTheLoadLasts)
{
    std::atomic<bool> bBusy{true};
    std::vector<std::thread> vLoad;
    for (unsigned ui = 0; ui < std::max(2u, std::thread::hardware_concurrency()); ++ui)
        vLoad.emplace_back([&bBusy] { while (bBusy.load(std::memory_order_relaxed)) {} });
    const bool bRaised = m_raised.wait();
    const std::string strWhileBusy = execute("get-alarms").m_strStatusText;
    bBusy = false;
    for (std::thread& thread : vLoad)
        thread.join();
    ASSERT_TRUE(bRaised);
    EXPECT_EQ(strWhileBusy, "linkhaven.system.cpu.highUsage : ALARM_ON\n");
    ASSERT_TRUE(m_cleared.wait());
    EXPECT_EQ(execute("get-alarms").m_strStatusText, "NO ALARM");
}
