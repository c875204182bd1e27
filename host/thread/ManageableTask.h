#pragma once
// The host's handle on a task: name it, start it, stop or kill it, wait for it.

#include <ace/Time_Value.h>

#include "host/thread/WaitableStartTask.h"

// Also what the framework calls a manageable waitable-start task: that pairing adds no operation.
class ManageableTask : public virtual WaitableStartTask
{
  public:
    // Before start.
    virtual void setTaskName(const char* in_szName) = 0;
    // As waitForStart's time-out, and not on the task's own thread either. True once the task's
    // thread has ended.
    virtual bool waitUntilDone(const ACE_Time_Value& in_timeout = ACE_Time_Value::max_time) = 0;
    // Stops the task and waits for its thread; kills it when it has not ended within the time-out,
    // and then waits without limit. True when the stop sufficed.
    virtual bool stopKillExit(const ACE_Time_Value& in_stopTimeout) = 0;
};
