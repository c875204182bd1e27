#include <fstream>

#include <gtest/gtest.h>

#include "host/infra/AlarmRegistry.h"
#include "host/infra/RWConfiguration.h"
#include "host/thread/CpuMonitor.h"
#include "tests/support/LogCapture.h"

namespace {
const char* const PREFIX = "linkhaven.system.cpu.monitor";

class CpuMonitorTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_config.setValue(std::string(PREFIX) + ".averageWindowSize", ParameterValue(2L));
        m_config.setValue(std::string(PREFIX) + ".setAlarmThreshold", ParameterValue(90.0));
        m_config.setValue(std::string(PREFIX) + ".resetAlarmThreshold", ParameterValue(80.0));
    }
    // Counters as /proc/stat writes them: user nice system idle iowait irq softirq steal guest guest_nice.
    void tick(CpuMonitor& io_monitor, unsigned long in_ulBusy, unsigned long in_ulIdle)
    {
        m_ulBusy += in_ulBusy;
        m_ulIdle += in_ulIdle;
        std::ofstream(m_strStatPath) << "cpu  " << m_ulBusy << " 0 0 " << m_ulIdle << " 0 0 0 0 0 0\ncpu0 1 2 3 4\n";
        io_monitor.handleTimeout(ACE_Time_Value::zero, nullptr);
    }
    static std::vector<std::string> errors(const LogCapture& in_capture)
    {
        std::vector<std::string> vErrors;
        for (const CapturedLine& line : in_capture.lines())
            if (line.level >= ERROR_LOG_LEVEL)
                vErrors.push_back(line.strMessage);
        return vErrors;
    }
    Alarm::State alarmState()
    {
        return AlarmRegistry::getInstance().defineAlarm(CpuMonitor::ALARM_NAME, "")->getState();
    }

    RWConfiguration m_config;
    const std::string m_strStatPath = ::testing::TempDir() + "linkhaven-cpu-stat";
    unsigned long m_ulBusy = 1000, m_ulIdle = 1000;
};
} // namespace

TEST_F(CpuMonitorTest, RaisesTheAlarmAtTheSetThresholdAndClearsItBelowTheResetOne)
{
    {
        CpuMonitor monitor(m_strStatPath);
        ASSERT_TRUE(monitor.configure(PREFIX, m_config));
        tick(monitor, 0, 0);
        EXPECT_EQ(monitor.getAverageUsage(), 0.0) << "the first expiry only takes the counters";
        tick(monitor, 95, 5);
        EXPECT_EQ(alarmState(), Alarm::RAISED_STATE);
        tick(monitor, 70, 30);
        EXPECT_DOUBLE_EQ(monitor.getAverageUsage(), 82.5);
        EXPECT_EQ(alarmState(), Alarm::RAISED_STATE) << "82.5 is not below 80";
        tick(monitor, 70, 30);
        EXPECT_DOUBLE_EQ(monitor.getAverageUsage(), 70.0) << "the oldest period has left the window";
        EXPECT_EQ(alarmState(), Alarm::CLEARED_STATE);
        tick(monitor, 0, 0);
        EXPECT_DOUBLE_EQ(monitor.getAverageUsage(), 70.0) << "no time counted, nothing measured";
        tick(monitor, 100, 0);
        tick(monitor, 100, 0);
        EXPECT_EQ(alarmState(), Alarm::RAISED_STATE);
    }
    EXPECT_EQ(alarmState(), Alarm::CLEARED_STATE) << "a monitor that goes clears what it raised";
}

TEST_F(CpuMonitorTest, RefusesMissingOrInconsistentSettings)
{
    CpuMonitor monitor(m_strStatPath);
    RWConfiguration empty;
    EXPECT_FALSE(monitor.configure(PREFIX, empty));
    m_config.setValue(std::string(PREFIX) + ".resetAlarmThreshold", ParameterValue(95.0));
    EXPECT_FALSE(monitor.configure(PREFIX, m_config));
    m_config.setValue(std::string(PREFIX) + ".resetAlarmThreshold", ParameterValue(90.0));
    EXPECT_TRUE(monitor.configure(PREFIX, m_config));
}

TEST_F(CpuMonitorTest, ReadsTheSystemCountersAndReportsAnUnreadableFileOnce)
{
    LogCapture capture("linkhaven.thread.CpuMonitor");
    CpuMonitor system;
    ASSERT_TRUE(system.configure(PREFIX, m_config));
    system.handleTimeout(ACE_Time_Value::zero, nullptr);
    system.handleTimeout(ACE_Time_Value::zero, nullptr);
    EXPECT_GE(system.getAverageUsage(), 0.0);
    EXPECT_LE(system.getAverageUsage(), 100.0);
    EXPECT_EQ(errors(capture), std::vector<std::string>{});

    CpuMonitor missing("/nonexistent/stat");
    ASSERT_TRUE(missing.configure(PREFIX, m_config));
    missing.handleTimeout(ACE_Time_Value::zero, nullptr);
    missing.handleTimeout(ACE_Time_Value::zero, nullptr);
    EXPECT_EQ(errors(capture), std::vector<std::string>{"cannot read the CPU counters from /nonexistent/stat"});
}
