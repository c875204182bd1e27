#include "host/thread/Deadline.h"

#include <ace/OS_NS_sys_time.h>

bool Deadline::isWithoutLimit(const ACE_Time_Value& in_timeout)
{
    constexpr time_t CENTURY_SECONDS = 100LL * 365 * 24 * 3600;
    return in_timeout == ACE_Time_Value::max_time || in_timeout.sec() >= CENTURY_SECONDS;
}

Deadline::Deadline(const ACE_Time_Value& in_timeout) : m_bLimited(!isWithoutLimit(in_timeout))
{
    if (m_bLimited)
        m_deadline = ACE_OS::gettimeofday() + in_timeout;
}
