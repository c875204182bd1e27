#pragma once
// The runtime takes a negative time-out as microseconds and 0 as none: a time-out in ms is stored
// as ms times -1000, kept within an int so that a huge value means a long wait rather than a wrap.

#include <climits>

inline int soapTimeoutFromMs(int in_nMs)
{
    const long long llUs = -1000LL * in_nMs;
    return llUs < INT_MIN ? INT_MIN : llUs > INT_MAX ? INT_MAX : static_cast<int>(llUs);
}
