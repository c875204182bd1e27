#pragma once
// A reactor task that records its hooks, in order, on its own thread, and an observer of tasks'
// states. Read m_vEvents through runOnTaskThread while the task runs, or once waitUntilDone has returned.

#include <mutex>
#include <string>
#include <vector>

#include "host/thread/StaticReactorTaskImpl.h"
#include "host/thread/TaskObserver.h"
#include "tests/host/thread/CountDownLatch.h"

using Events = std::vector<std::string>;

class TestReactorTask : public StaticReactorTaskImpl
{
  public:
    explicit TestReactorTask(const char* in_szName = "test-task", bool in_bDeferStop = false)
        : m_bDeferStop(in_bDeferStop)
    {
        setTaskName(in_szName);
    }
    ~TestReactorTask() override
    {
        kill();
        waitUntilDone();
    }

    Events m_vEvents;

  protected:
    void onSvcEntry() override
    {
        m_vEvents.push_back("svc-entry");
        StaticReactorTaskImpl::onSvcEntry();
    }
    void handleMOCallFailure() override { m_vEvents.push_back("failure"); }
    void handleMOCallStop() override
    {
        m_vEvents.push_back("stop");
        if (!m_bDeferStop)
            stopCompleted();
    }
    void handleMOCallKill() override { m_vEvents.push_back("kill"); }
    int close(unsigned long in_ulFlags) override
    {
        m_vEvents.push_back("close");
        return StaticReactorTaskImpl::close(in_ulFlags);
    }

  private:
    const bool m_bDeferStop;
};

// Lines "<task> <STATE>", in the order the watched tasks changed; counts m_awaited down at m_strAwaited.
struct StateRecorder : public TaskObserver
{
    void watch(TaskWithState& io_task) { io_task.addTaskObserver(this); }
    void newTaskState(TaskWithState& io_task, Task::State in_state) override
    {
        const std::string strLine = io_task.getTaskName() + " " + Task::getStateString(in_state);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_vLines.push_back(strLine);
        if (strLine == m_strAwaited)
            m_awaited.countDown();
    }
    Events lines()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_vLines;
    }

    std::string m_strAwaited; // set before the tasks start
    CountDownLatch m_awaited{1};
    std::mutex m_mutex;
    Events m_vLines;
};
