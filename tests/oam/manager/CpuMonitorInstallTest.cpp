#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

#include "host/core/Assertion.h"
#include "host/infra/RWConfiguration.h"
#include "host/thread/CpuMonitor.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/oam/manager/StartedManager.h"
#include "tests/support/LogCapture.h"

namespace {
const char* const PERIOD = "linkhaven.system.cpu.monitor.monitoringPeriodInMs";
const char* const START_TIMEOUT = "linkhaven.startTimeoutSec";
using Values = std::vector<std::pair<std::string, std::string>>;

TSHandle<ROConfiguration> configurationOf(const Values& in_vValues)
{
    const auto hConfig = TSHandle<RWConfiguration>::make();
    for (const auto& entry : in_vValues) {
        ParameterValue value;
        value.initFromText(entry.second.c_str(), ParameterValue::NO_VALUE_TYPE, true);
        hConfig->setValue(entry.first, value);
    }
    return hConfig;
}

Values monitorSettings(const char* in_szPeriod, const char* in_szStartTimeout, const char* in_szThreshold = "90.0")
{
    return {{PERIOD, in_szPeriod},
            {START_TIMEOUT, in_szStartTimeout},
            {"linkhaven.system.cpu.monitor.averageWindowSize", "2"},
            {"linkhaven.system.cpu.monitor.setAlarmThreshold", in_szThreshold},
            {"linkhaven.system.cpu.monitor.resetAlarmThreshold", in_szThreshold}};
}

// Records the manager's timer calls on its thread; read them once the thread has ended.
class TimerWatchingManager : public OAMManager
{
  public:
    std::vector<std::string> m_vTimerCalls;

  protected:
    long scheduleTimer(TimeoutProcessor* in_pProcessor, void* in_pData, const ACE_Time_Value& in_delay,
                       const ACE_Time_Value& in_interval, std::uint64_t in_ulCount) override
    {
        m_vTimerCalls.push_back("after " + std::to_string(in_delay.msec()) + "ms, every " +
                                std::to_string(in_interval.msec()) + "ms, count " + std::to_string(in_ulCount));
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
    const std::string SCHEDULED = "after 60000ms, every 1500ms, count 0";
    // The configuration; whether the manager runs, and is then killed rather than stopped; its timer
    // calls; a line it logs.
    const std::tuple<Values, bool, bool, std::vector<std::string>, LogLevel, std::string> cases[] = {
        {{{PERIOD, "0"}}, true, false, {}, INFO_LOG_LEVEL, "disabling System CPU monitoring"},
        {monitorSettings("1500", "30"), true, false, {SCHEDULED, "cancel while STOPPING"}, INFO_LOG_LEVEL,
         "enabling System CPU monitoring"},
        {monitorSettings("1500", "30"), true, true, {SCHEDULED}, DEBUG_LOG_LEVEL,
         "setting System CPU monitoring period to 1500ms"},
        {{}, false, false, {}, ERROR_LOG_LEVEL, std::string("failed to read parameter ") + PERIOD},
        {{{PERIOD, "500"}}, false, false, {}, ERROR_LOG_LEVEL, std::string("failed to read parameter ") + START_TIMEOUT},
        {{{PERIOD, "500"}, {START_TIMEOUT, "30"}}, false, false, {}, ERROR_LOG_LEVEL,
         "failed to configure System CPU monitor"},
    };
    for (const auto& [values, bStarts, bKill, vTimerCalls, level, strLine] : cases) {
        SCOPED_TRACE(strLine + (bKill ? ", killed" : ""));
        AssertionCapture assertions;
        LogCapture log("linkhaven.oam.manager");
        auto pManager = std::make_unique<TimerWatchingManager>();
        pManager->initialize(configurationOf(values));
        pManager->setTaskName("watched");
        ASSERT_TRUE(pManager->start());
        EXPECT_EQ(pManager->waitForStart(ACE_Time_Value(60)), bStarts);
        if (bStarts) {
            EXPECT_TRUE(bKill ? pManager->kill() : pManager->stop());
        }
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
    TSHandle<ROConfiguration> configuration() override { return configurationOf(monitorSettings("50", "0", "80.0")); }
    void beforeStart(OAMManager&) override { AlarmRegistry::getInstance().addObserver(this); }
    void TearDown() override
    {
        StartedManagerTest::TearDown();
        AlarmRegistry::getInstance().removeObserver(this);
    }
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
        vLoad.emplace_back([&bBusy] {
            while (bBusy.load(std::memory_order_relaxed)) {
            }
        });
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
