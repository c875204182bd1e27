#pragma once
// The end of a synchronous wait: the current system time plus the caller's time-out, as
// ACE_Future::get wants it, or no end at all. A time-out of ACE_Time_Value::max_time, or one of a
// century or more (whose sum would pass the end of time), is a wait without limit.

#include <ace/Time_Value.h>

class Deadline
{
  public:
    static bool isWithoutLimit(const ACE_Time_Value& in_timeout);

    // Reads the clock once, here.
    explicit Deadline(const ACE_Time_Value& in_timeout);

    // Null when the wait has no limit.
    ACE_Time_Value* get() { return m_bLimited ? &m_deadline : nullptr; }

  private:
    bool m_bLimited;
    ACE_Time_Value m_deadline;
};
