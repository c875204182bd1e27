#pragma once
// Watches the system's CPU usage: at each expiry of its timer it reads the CPU counters (as
// /proc/stat gives them), averages the usage of the last periods over its window, raises the
// alarm "linkhaven.system.cpu.highUsage" when the average reaches the set threshold, and clears it
// when the average falls below the reset threshold. Runs on the thread of the task whose timer
// calls it; configure it before the timer is scheduled.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "host/core/MemAccounted.h"
#include "host/thread/TimeoutProcessor.h"

class Alarm;
class ROConfiguration;

class CpuMonitor : public TimeoutProcessor, public MemAccounted<CpuMonitor>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "CpuMonitor";
    static constexpr const char* ALARM_NAME = "linkhaven.system.cpu.highUsage";

    // Another counters file is for tests.
    explicit CpuMonitor(std::string in_strStatPath = "/proc/stat");
    // Clears the alarm if this monitor raised it: nobody else would.
    ~CpuMonitor() override;

    // Reads <prefix>.averageWindowSize (above 0), <prefix>.setAlarmThreshold and
    // <prefix>.resetAlarmThreshold (percentages, 0 <= reset <= set; a set threshold above 100
    // never raises). False, keeping the previous settings, when one is missing or out of range.
    // Starts a new window.
    bool configure(const char* in_szPrefix, const ROConfiguration& in_config);

    // One measurement: the usage since the previous expiry. The first expiry only takes the
    // counters from which the next one measures.
    void handleTimeout(const ACE_Time_Value& in_now, void* in_pData) override;

    // The average of the window, 0 before the first measurement.
    double getAverageUsage() const;

  private:
    struct Counters
    {
        std::uint64_t ulBusy;
        std::uint64_t ulTotal;
    };

    bool readCounters(Counters& out_counters);
    void setAlarm(bool in_bRaised);

    const std::string m_strStatPath;
    const std::shared_ptr<Alarm> m_pAlarm;
    unsigned m_uiWindowSize = 0;
    double m_dSetThreshold = 0.0;
    double m_dResetThreshold = 0.0;
    std::deque<double> m_vUsage; // percentages of the last periods, newest last
    bool m_bHaveCounters = false;
    Counters m_lastCounters{0, 0};
    bool m_bAlarmRaised = false;
    bool m_bReadFailing = false; // logged once, until a read succeeds again
};
