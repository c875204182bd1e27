#pragma once
// A task's timer facility: timers that fire on the task's own thread. Task thread only (the host
// may schedule before start). A timer owns its processor from scheduleTimer on.

#include <cstdint>

#include <ace/Time_Value.h>

class TimeoutProcessor;

class TimerScheduler
{
  public:
    virtual ~TimerScheduler() = default;

    // First expiry after in_delay, then every in_interval (zero or less: once); in_ulCount ends the
    // timer after that many expiries, 0 sets no limit. Gives the timer's identifier, 0 or more, or
    // -1 when it could not be scheduled (the processor is then deleted).
    virtual long scheduleTimer(TimeoutProcessor* in_pProcessor, void* in_pData, const ACE_Time_Value& in_delay,
                               const ACE_Time_Value& in_interval, std::uint64_t in_ulCount) = 0;
    // Ends the timer and deletes its processor; false when no such timer runs. The timer's data
    // goes back through out_ppData unless null.
    virtual bool cancelTimer(long in_lTimerId, void** out_ppData) = 0;
};
