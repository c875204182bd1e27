#include "host/thread/UserDefHandlerTaskManager.h"

#include <algorithm>

#include <ace/Method_Request.h>

#include "host/core/AceCleanupLogger.h"
#include "host/core/MemAccounted.h"
#include "host/thread/MOCallStatus.h"

namespace {
const Logger& managerLogger()
{
    return AceCleanupLogger::get("linkhaven.thread.TaskManager");
}
} // namespace

class UserDefHandlerTaskManager::TaskState_MO : public ACE_Method_Request, public MemAccounted<TaskState_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "UserDefHandlerTaskManager::TaskState_MO";

    TaskState_MO(UserDefHandlerTaskManager& io_manager, TaskWithState& io_task, State in_state)
        : m_manager(io_manager), m_task(io_task), m_state(in_state)
    {
    }
    int call() override
    {
        m_manager.taskState_i(m_task, m_state);
        return MO_CALL_SUCCESS;
    }

  private:
    UserDefHandlerTaskManager& m_manager;
    TaskWithState& m_task;
    const State m_state;
};

UserDefHandlerTaskManager::~UserDefHandlerTaskManager()
{
    endThreadForDestruction();
    for (ManageableTask* pTask : m_vpTasks)
        pTask->removeTaskObserver(this);
}

bool UserDefHandlerTaskManager::addTask(ManageableTask& io_task)
{
    if (getTaskState() != STOPPED_STATE)
        return false;
    m_vpTasks.push_back(&io_task);
    io_task.addTaskObserver(this);
    return true;
}

bool UserDefHandlerTaskManager::clearTasks()
{
    if (getTaskState() != STOPPED_STATE)
        return false;
    for (ManageableTask* pTask : m_vpTasks)
        pTask->removeTaskObserver(this);
    m_vpTasks.clear();
    return true;
}

bool UserDefHandlerTaskManager::stopKillExit(const ACE_Time_Value& in_stopTimeout)
{
    const bool bStopped = ManageableTaskImplBase::stopKillExit(in_stopTimeout);
    // A task reports STOPPED just before its thread ends, and a killed one ends on its own thread:
    // either way, the group's threads are waited for themselves.
    for (ManageableTask* pTask : m_vpTasks)
        pTask->waitUntilDone();
    return bStopped;
}

void UserDefHandlerTaskManager::handleTaskState_i(ManageableTask& io_task, State in_state)
{
    const State groupState = getTaskState();
    // Checked against the task's present state too: news can be older than the run it reaches.
    if (in_state == STOPPED_STATE && io_task.getTaskState() == STOPPED_STATE && isStartedInThisRun_i(io_task) &&
        (groupState == STARTING_STATE || groupState == RUNNING_STATE)) {
        LH_WARN(managerLogger(), "task " << io_task.getTaskName() << " has ended; stopping group " << getTaskName());
        stop();
    }
}

void UserDefHandlerTaskManager::startTasks_i()
{
    for (ManageableTask* pTask : m_vpTasks)
        pTask->start();
}

void UserDefHandlerTaskManager::stopTasks_i()
{
    for (ManageableTask* pTask : m_vpTasks)
        pTask->stop();
}

void UserDefHandlerTaskManager::advance_i()
{
    LH_CHECK_TASK_THREAD();
    if (getTaskState() == STARTING_STATE && allTasksIn(RUNNING_STATE))
        setTaskState_i(RUNNING_STATE);
    else if (getTaskState() == STOPPING_STATE && allTasksIn(STOPPED_STATE))
        stopCompleted();
}

bool UserDefHandlerTaskManager::allTasksIn(State in_state) const
{
    return std::all_of(m_vpTasks.begin(), m_vpTasks.end(),
                       [in_state](const ManageableTask* pTask) { return pTask->getTaskState() == in_state; });
}

void UserDefHandlerTaskManager::onSvcEntry()
{
    startTasks_i();
    advance_i();
}

void UserDefHandlerTaskManager::handleMOCallStop()
{
    stopTasks_i();
    advance_i();
}

void UserDefHandlerTaskManager::handleMOCallKill()
{
    for (ManageableTask* pTask : m_vpTasks)
        pTask->kill();
}

void UserDefHandlerTaskManager::newTaskState(TaskWithState& io_task, State in_state)
{
    enqueue(new TaskState_MO(*this, io_task, in_state), "UserDefHandlerTaskManager::newTaskState");
}

void UserDefHandlerTaskManager::taskState_i(TaskWithState& io_task, State in_state)
{
    LH_CHECK_TASK_THREAD();
    const auto found = std::find_if(m_vpTasks.begin(), m_vpTasks.end(),
                                    [&io_task](ManageableTask* pTask) { return pTask == &io_task; });
    if (found == m_vpTasks.end())
        return;
    handleTaskState_i(**found, in_state);
    advance_i();
}
