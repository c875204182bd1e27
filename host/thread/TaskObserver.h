#pragma once
// Hears of every change of a task's state.

#include "host/thread/Task.h"

class TaskWithState;

class TaskObserver
{
  public:
    virtual ~TaskObserver() = default;
    // Called on the thread that changed the state (the task's own, or the caller of start), with
    // the task's observer lock held: it must not add or remove observers of that task, and should
    // only hand the news on (queue a method object, signal a condition).
    virtual void newTaskState(TaskWithState& io_task, Task::State in_state) = 0;
};
