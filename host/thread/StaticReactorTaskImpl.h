#pragma once
// A managed task with one thread that runs its own small reactor: the task's timers and its method
// objects, one at a time, on that thread.
//
// The thread sleeps on its activation queue until a method object comes or the next timer is due,
// and is woken only when the queue goes from empty to not empty. It runs what is due in rounds:
// the timers due, then at most a few method objects, so that neither starves the other.

#include "host/infra/ConfigurationObserver.h"
#include "host/thread/ManageableTaskImplBase.h"
#include "host/thread/TaskWithTimersImpl.h"

class StaticReactorTaskImpl : public ManageableTaskImplBase,
                              public TaskWithTimersImpl,
                              public virtual ConfigurationObserver
{
  public:
    // Any thread. A task takes its settings as its thread starts, so a change waits for the next
    // start; here it is only logged.
    void notifyParamValueChange(const std::string& in_strName, const ParameterValue& in_value) override;

  protected:
    StaticReactorTaskImpl();
    // Call waitUntilDone first: the thread must have ended before the timers go.
    ~StaticReactorTaskImpl() override;

    // The thread's first act. Default: RUNNING_STATE. An override sets that state itself, once the
    // task is ready, through setTaskState_i.
    virtual void onSvcEntry();

  private:
    void runTaskLoop_i() override;
    void endTaskLoop_i() override;
    // The method objects of one round; false once the loop is told to end.
    bool runMethodObjects_i();

    // Once the loop is told to end, no further method object runs.
    bool m_bLoopEnding = false;
};
