#pragma once
// A task whose start can be waited for.

#include <ace/Time_Value.h>

#include "host/thread/TaskWithState.h"

class WaitableStartTask : public virtual TaskWithState
{
  public:
    // A duration; ACE_Time_Value::max_time waits without limit. Not on the task's own thread (it
    // gives false there at once). True once the task has reported RUNNING_STATE since its last
    // start; false when it ended without, was never started, or the time ran out.
    virtual bool waitForStart(const ACE_Time_Value& in_timeout = ACE_Time_Value::max_time) = 0;
};
