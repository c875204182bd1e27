#include <cstdio>
#include <fstream>
#include <optional>

#include <unistd.h>

#include <gtest/gtest.h>

#include "host/infra/AlarmRegistry.h"
#include "host/infra/RWConfiguration.h"
#include "host/thread/CpuMonitor.h"
#include "tests/support/LogCapture.h"

namespace {
const std::string PREFIX = "linkhaven.system.cpu.monitor";

class CpuMonitorTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_config.setValue(PREFIX + ".averageWindowSize", ParameterValue(2L));
        m_config.setValue(PREFIX + ".setAlarmThreshold", ParameterValue(90.0));
        m_config.setValue(PREFIX + ".resetAlarmThreshold", ParameterValue(80.0));
        ASSERT_TRUE(m_monitor->configure(PREFIX.c_str(), m_config));
    }
    void TearDown() override { std::remove(m_strStatPath.c_str()); }
    // Counters as /proc/stat writes them: user nice system idle iowait irq softirq steal guest guest_nice.
    Alarm::State tick(unsigned long in_ulBusy, unsigned long in_ulIdle)
    {
        m_ulBusy += in_ulBusy;
        m_ulIdle += in_ulIdle;
        std::ofstream(m_strStatPath) << "cpu  " << m_ulBusy << " 0 0 " << m_ulIdle << " 0 0 0 0 0 0\ncpu0 1 2 3 4\n";
        m_monitor->handleTimeout(ACE_Time_Value::zero, nullptr);
        return alarmState();
    }
    static Alarm::State alarmState() { return AlarmRegistry::getInstance().defineAlarm(CpuMonitor::ALARM_NAME, "")->getState(); }

    RWConfiguration m_config;
    // One file per process: the test programs of several builds may run at once.
    const std::string m_strStatPath = ::testing::TempDir() + "linkhaven-cpu-stat-" + std::to_string(::getpid());
    unsigned long m_ulBusy = 1000, m_ulIdle = 1000;
    std::optional<CpuMonitor> m_monitor{m_strStatPath};
};

} // namespace

// Readings of the system's own counters are measured by the OAM manager's CpuLoadTest.
TEST_F(CpuMonitorTest, RaisesTheAlarmAtTheSetThresholdClearsItBelowTheResetOneAndReportsFaultsOnce)
{
    tick(0, 0);
    EXPECT_EQ(m_monitor->getAverageUsage(), 0.0) << "the first expiry only takes the counters";
    EXPECT_EQ(tick(95, 5), Alarm::RAISED_STATE);
    EXPECT_EQ(tick(70, 30), Alarm::RAISED_STATE) << "the average, 82.5, is not below 80";
    EXPECT_EQ(tick(70, 30), Alarm::CLEARED_STATE) << "the oldest period has left the window";
    EXPECT_DOUBLE_EQ(m_monitor->getAverageUsage(), 70.0);
    tick(0, 0);
    EXPECT_DOUBLE_EQ(m_monitor->getAverageUsage(), 70.0) << "no time counted, nothing measured";
    EXPECT_EQ(tick(100, 0), Alarm::CLEARED_STATE);
    EXPECT_EQ(tick(100, 0), Alarm::RAISED_STATE);

    LogCapture capture("linkhaven.thread.CpuMonitor");
    std::remove(m_strStatPath.c_str());
    m_monitor->handleTimeout(ACE_Time_Value::zero, nullptr);
    m_monitor->handleTimeout(ACE_Time_Value::zero, nullptr);
    m_config.setValue(PREFIX + ".resetAlarmThreshold", ParameterValue(95.0));
    EXPECT_FALSE(m_monitor->configure(PREFIX.c_str(), m_config));
    EXPECT_EQ(capture.messages(ERROR_LOG_LEVEL), (std::vector<std::string>{"cannot read the CPU counters from " + m_strStatPath,
                                                 "CpuMonitor::configure : the reset threshold 95 is above the set threshold 90"}));
    m_monitor.reset();
    EXPECT_EQ(alarmState(), Alarm::CLEARED_STATE) << "a monitor that goes clears what it raised";
}
