#pragma once
// A task that runs a group of tasks. Starting it starts them, and it reports RUNNING_STATE once
// every one of them runs; stopping it stops them, and it reaches STOPPED_STATE once all have
// ended. Its stopKillExit stops the group, kills what has not ended within the time-out, and
// returns once every thread of the group has exited.

#include "host/thread/ManageableTask.h"

class StopKillExitTaskManager : public virtual ManageableTask
{
  public:
    // While the manager is stopped; false otherwise. Tasks are not owned: each must outlive the
    // manager, or be cleared first.
    virtual bool addTask(ManageableTask& io_task) = 0;
    virtual bool clearTasks() = 0;
    // The state of the group, which is the manager's own task state.
    virtual State getState() const = 0;
};
