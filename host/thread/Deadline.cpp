#include "host/thread/Deadline.h"

bool Deadline::isWithoutLimit(const ACE_Time_Value& in_timeout)
{
    constexpr time_t CENTURY_SECONDS = 100LL * 365 * 24 * 3600;
    return in_timeout == ACE_Time_Value::max_time || in_timeout.sec() >= CENTURY_SECONDS;
}

Deadline::Deadline(const ACE_Time_Value& in_timeout) : m_bLimited(!isWithoutLimit(in_timeout))
{
    if (m_bLimited)
        m_deadline = std::chrono::steady_clock::now() + std::chrono::seconds(in_timeout.sec()) +
                     std::chrono::microseconds(in_timeout.usec());
}
