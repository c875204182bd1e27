#pragma once
// Runs a function on a task's thread and waits until it has run, so that a test reads and changes
// task-thread state without races and without sleeps:
//     ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { id = task.scheduleTimer(...); }));

#include <functional>
#include <utility>

#include <ace/Future.h>
#include <ace/Method_Request.h>
#include <ace/OS_NS_sys_time.h>

#include "host/thread/MOCallStatus.h"
#include "host/thread/Task.h"

class RunOnTaskThread_MO : public ACE_Method_Request
{
  public:
    RunOnTaskThread_MO(std::function<void()> in_function, const ACE_Future<bool>& in_done)
        : m_function(std::move(in_function)), m_done(in_done)
    {
    }
    int call() override
    {
        m_function();
        m_done.set(true);
        return MO_CALL_SUCCESS;
    }

  private:
    std::function<void()> m_function;
    ACE_Future<bool> m_done;
};

// False when the function has not run within a minute (the task is not running, or hangs).
inline bool runOnTaskThread(ACE_Activation_Queue* in_pQueue, std::function<void()> in_function)
{
    ACE_Future<bool> done;
    if (!Task::enqueue(in_pQueue, new RunOnTaskThread_MO(std::move(in_function), done), "runOnTaskThread"))
        return false;
    ACE_Time_Value deadline = ACE_OS::gettimeofday() + ACE_Time_Value(60);
    bool bRan = false;
    return done.get(bRan, &deadline) == 0 && bRan;
}
