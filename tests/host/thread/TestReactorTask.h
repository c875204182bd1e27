#pragma once
// A reactor task that records its hooks, in order, on its own thread, and an observer of tasks'
// states. Read m_vEvents through runOnTaskThread while the task runs, or once waitUntilDone has returned.

#include <algorithm>
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
    explicit TestReactorTask(const char* in_szName = "test-task", bool in_bDeferStop = false) : m_bDeferStop(in_bDeferStop) { setTaskName(in_szName); }
    ~TestReactorTask() override { kill(); waitUntilDone(); }

    Events m_vEvents;

  protected:
    void onSvcEntry() override { m_vEvents.push_back("svc-entry"); StaticReactorTaskImpl::onSvcEntry(); }
    void handleMOCallFailure() override { m_vEvents.push_back("failure"); }
    void handleMOCallStop() override { m_vEvents.push_back("stop"); if (!m_bDeferStop) stopCompleted(); }
    void handleMOCallKill() override { m_vEvents.push_back("kill"); }
    int close(unsigned long in_ulFlags) override
    {
        m_vEvents.push_back("close");
        return StaticReactorTaskImpl::close(in_ulFlags);
    }

  private:
    const bool m_bDeferStop;
};

// Lines "<task> <STATE>" as the watched tasks change. A starting task's line also tells the states of
// the tasks watched before it, a stopping task's those of the tasks after it, as an ordered group
// must keep them; a recorder of starts and stops only notes nothing else, so that its lines come in
// one order. Counts m_awaited down at the line m_strAwaited.
struct StateRecorder : public TaskObserver
{
    explicit StateRecorder(bool in_bStartsAndStopsOnly = false) : m_bStartsAndStopsOnly(in_bStartsAndStopsOnly) {}
    void watch(TaskWithState& io_task) { m_vpTasks.push_back(&io_task); io_task.addTaskObserver(this); }
    void newTaskState(TaskWithState& io_task, Task::State in_state) override
    {
        const bool bStarting = in_state == Task::STARTING_STATE, bStopping = in_state == Task::STOPPING_STATE;
        if (m_bStartsAndStopsOnly && !bStarting && !bStopping)
            return;
        const std::size_t uiSelf = std::find(m_vpTasks.begin(), m_vpTasks.end(), &io_task) - m_vpTasks.begin();
        std::string strLine = io_task.getTaskName() + " " + Task::getStateString(in_state);
        for (std::size_t i = 0; i < m_vpTasks.size(); ++i)
            if ((bStarting && i < uiSelf) || (bStopping && i > uiSelf))
                strLine += ", " + m_vpTasks[i]->getTaskName() + " " + Task::getStateString(m_vpTasks[i]->getTaskState());
        std::lock_guard<std::mutex> lock(m_mutex);
        m_vLines.push_back(strLine);
        if (strLine.rfind(m_strAwaited, 0) == 0)
            m_awaited.countDown();
    }
    Events lines() { std::lock_guard<std::mutex> lock(m_mutex); return m_vLines; }

    const bool m_bStartsAndStopsOnly;
    std::vector<TaskWithState*> m_vpTasks;
    std::string m_strAwaited = "-"; // set before the tasks start
    CountDownLatch m_awaited{1};
    std::mutex m_mutex;
    Events m_vLines;
};
