#pragma once
// A task whose state can be read and watched from any thread.

#include "host/thread/Task.h"

class TaskObserver;

class TaskWithState : public virtual Task
{
  public:
    virtual State getTaskState() const = 0;
    // Observers are not owned; one added twice is told twice. After removeTaskObserver has
    // returned the observer is not told again.
    virtual void addTaskObserver(TaskObserver* in_pObserver) = 0;
    virtual void removeTaskObserver(TaskObserver* in_pObserver) = 0;
};
