#pragma once
// The callee of a timer (TaskWithTimersImpl::scheduleTimer). Once scheduled it belongs to its timer.

#include <ace/Time_Value.h>

#include "host/thread/Object.h"

class TimeoutProcessor : public virtual Object
{
  public:
    // Runs on the thread of the task that scheduled the timer, once per expiry.
    virtual void handleTimeout(const ACE_Time_Value& in_now, void* in_pData) = 0;
};
