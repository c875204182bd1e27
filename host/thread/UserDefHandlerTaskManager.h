#pragma once
// A task manager on a reactor thread of its own. The managed tasks' state changes are queued to
// that thread, where the user-defined handler sees each of them before the manager moves the group
// on. The group starts and stops all at once; UserDefHandlerOrderTaskManager orders it.

#include <vector>

#include "host/thread/StaticReactorTaskImpl.h"
#include "host/thread/StopKillExitTaskManager.h"
#include "host/thread/TaskObserver.h"

class UserDefHandlerTaskManager : public virtual StopKillExitTaskManager, public StaticReactorTaskImpl, private TaskObserver
{
  public:
    UserDefHandlerTaskManager() = default;
    ~UserDefHandlerTaskManager() override;

    bool addTask(ManageableTask& io_task) override;
    bool clearTasks() override;
    State getState() const override { return getTaskState(); }
    bool stopKillExit(const ACE_Time_Value& in_stopTimeout) override;

  protected:
    // The user-defined handler, on the manager's thread. Default: a task that has ended while the
    // group starts or runs stops the group.
    virtual void handleTaskState_i(ManageableTask& io_task, State in_state);
    virtual void startTasks_i();
    virtual void stopTasks_i();
    // Whether this run has started the task yet; news of one it has not is from an earlier run.
    virtual bool isStartedInThisRun_i(const ManageableTask&) const { return true; }
    // Moves the group on: RUNNING_STATE once every task runs, stopCompleted once all have ended.
    virtual void advance_i();

    const std::vector<ManageableTask*>& getTasks() const { return m_vpTasks; }
    bool allTasksIn(State in_state) const;

    void onSvcEntry() override;
    void handleMOCallStop() override;
    // Kills every managed task that has not ended.
    void handleMOCallKill() override;

  private:
    class TaskState_MO;

    // Any thread: queues the news to the manager's thread.
    void newTaskState(TaskWithState& io_task, State in_state) override;
    void taskState_i(TaskWithState& io_task, State in_state);

    std::vector<ManageableTask*> m_vpTasks;
};
