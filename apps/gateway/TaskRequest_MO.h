#pragma once
// Carries one request to a task's thread and its answer back to a caller that waits for it until
// a time-out. An answer that comes after the caller gave up goes nowhere; a request destroyed
// unrun reads as no answer.

#include <chrono>
#include <functional>
#include <future>
#include <utility>

#include <ace/Method_Request.h>
#include <ace/Time_Value.h>

#include "host/thread/ManageableTaskImplBase.h"
#include "host/thread/MOCallStatus.h"

template <class Answer>
class TaskRequest_MO : public ACE_Method_Request
{
  public:
    // The body runs on the task's thread: it must not reach into the caller's stack.
    TaskRequest_MO(std::function<Answer()> in_body, std::promise<Answer> in_answer)
        : m_body(std::move(in_body)), m_answer(std::move(in_answer))
    {
    }

    int call() override
    {
        m_answer.set_value(m_body());
        return MO_CALL_SUCCESS;
    }

    // Any thread but the task's own: false when no answer came within the time-out.
    static bool ask(ManageableTaskImplBase& io_task, const char* in_szDescription, std::function<Answer()> in_body,
                    Answer& out_answer, const ACE_Time_Value& in_timeout)
    {
        std::promise<Answer> answer;
        std::future<Answer> future = answer.get_future();
        if (!io_task.enqueue(new TaskRequest_MO(std::move(in_body), std::move(answer)), in_szDescription))
            return false;
        if (future.wait_for(std::chrono::microseconds(in_timeout.sec() * 1000000LL + in_timeout.usec())) !=
            std::future_status::ready)
            return false;
        try {
            out_answer = future.get();
            return true;
        } catch (const std::future_error&) {
            return false;
        }
    }

  private:
    std::function<Answer()> m_body;
    // Not an ACE_Future: its get() reads the value outside its lock, which ThreadSanitizer reports.
    std::promise<Answer> m_answer;
};
