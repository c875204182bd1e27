#pragma once
// The host's handle on a task: name it, start it, stop or kill it, wait for it.

#include <ace/Time_Value.h>

#include "host/thread/TaskWithState.h"

class ManageableTask : public virtual TaskWithState
{
  public:
    // Before start.
    virtual void setTaskName(const char* in_szName) = 0;
    // Time-outs are durations; ACE_Time_Value::max_time waits without limit. Neither wait may be
    // called on the task's own thread (it gives false there at once).
    // True once the task's thread has ended.
    virtual bool waitUntilDone(const ACE_Time_Value& in_timeout = ACE_Time_Value::max_time) = 0;
    // True once the task has reported RUNNING_STATE since its last start; false when it ended
    // without, was never started, or the time ran out.
    virtual bool waitForStart(const ACE_Time_Value& in_timeout = ACE_Time_Value::max_time) = 0;
    // Stops the task and waits for its thread; kills it when it has not ended within the time-out,
    // and then waits without limit. True when the stop sufficed.
    virtual bool stopKillExit(const ACE_Time_Value& in_stopTimeout) = 0;
};
