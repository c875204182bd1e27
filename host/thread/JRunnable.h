#pragma once
// A body that runs on a thread the host gives it, until it is told to terminate or ends by
// itself (the web-service accept loop is one).

#include <cstdint>

#include "host/thread/Object.h"
#include "host/thread/Task.h"

class JRunnable : public virtual Object
{
  public:
    // Hears of the states that a running body reports.
    class RunningObserver
    {
      public:
        virtual ~RunningObserver() = default;
        // Called on the thread that runs the body.
        virtual void newTaskState(JRunnable& io_runnable, Task::State in_state) = 0;
    };

    // Runs the body on the calling thread and gives its result once it has ended.
    virtual std::uint32_t run() = 0;
    // Any thread: the body ends at its next check.
    virtual void terminate() = 0;
    virtual const char* getName() const = 0;
    // Not owned; set before run.
    virtual void setRunningObserver(RunningObserver* in_pObserver) = 0;
};
