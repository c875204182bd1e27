#pragma once
// The end of a synchronous wait on the steady clock: now plus the caller's time-out, read once, or
// no end at all. A time-out of ACE_Time_Value::max_time, or one of a century or more (whose sum
// would pass the end of the clock), is a wait without limit.

#include <chrono>

#include <ace/Time_Value.h>

class Deadline
{
  public:
    static bool isWithoutLimit(const ACE_Time_Value& in_timeout);

    // Reads the clock once, here.
    explicit Deadline(const ACE_Time_Value& in_timeout);

    bool isLimited() const { return m_bLimited; }
    // Meaningful only when limited.
    std::chrono::steady_clock::time_point get() const { return m_deadline; }

  private:
    bool m_bLimited;
    std::chrono::steady_clock::time_point m_deadline;
};
