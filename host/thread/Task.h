#pragma once
// A task: a thread of its own that runs the method objects queued for it, one at a time, in the
// order they were queued (a kill goes ahead of them all).

#include <string>

#include "host/thread/Stoppable.h"

class ACE_Method_Request;
class ActivationQueue;
class ThreadChecker;

class Task : public virtual Stoppable
{
  public:
    enum State
    {
        STOPPED_STATE = 0,
        STARTING_STATE = 1,
        RUNNING_STATE = 2,
        STOPPING_STATE = 3,
        KILLING_STATE = 4
    };

    // "STOPPED", "STARTING", "RUNNING", "STOPPING", "KILLING"; "UNKNOWN" for any other value.
    static const char* getStateString(State in_state);

    // Called on any thread. True: queued, it runs later on the queue's task thread. False: refused,
    // and already destroyed. Either way the caller never touches the object again. The
    // description names the caller, for the log; it is not kept.
    static bool enqueue(ActivationQueue* in_pQueue, ACE_Method_Request* in_pMO, const char* in_szDescription);

    // Set before start, then read on any thread.
    virtual const std::string& getTaskName() const = 0;
    virtual bool start() = 0;
    // For LH_CHECK_TASK_THREAD in the task's own code.
    virtual const ThreadChecker& getThreadChecker() const = 0;
};
