#pragma once
// Runs a function on a task's thread and waits until it has run, so that a test reads and changes
// task-thread state without races and without sleeps:
//     ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { id = task.scheduleTimer(...); }));

#include <chrono>
#include <functional>
#include <future>
#include <utility>

#include <ace/Method_Request.h>

#include "host/thread/MOCallStatus.h"
#include "host/thread/Task.h"

struct RunOnTaskThread_MO : public ACE_Method_Request
{
    RunOnTaskThread_MO(std::function<void()> in_function, std::promise<void> in_done) : m_function(std::move(in_function)), m_done(std::move(in_done)) {}
    int call() override
    {
        m_function();
        m_done.set_value();
        return MO_CALL_SUCCESS;
    }
    std::function<void()> m_function;
    // Not an ACE_Future: its get() reads the value outside its lock, which ThreadSanitizer reports.
    std::promise<void> m_done;
};

// False when the function was destroyed unrun, or has not run within a minute (the task hangs).
inline bool runOnTaskThread(ActivationQueue* in_pQueue, std::function<void()> in_function)
{
    std::promise<void> done;
    std::future<void> ran = done.get_future();
    if (!Task::enqueue(in_pQueue, new RunOnTaskThread_MO(std::move(in_function), std::move(done)), "runOnTaskThread"))
        return false;
    if (ran.wait_for(std::chrono::minutes(1)) != std::future_status::ready)
        return false;
    try {
        ran.get();
        return true;
    } catch (const std::future_error&) {
        return false; // destroyed unrun
    }
}
