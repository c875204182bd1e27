#pragma once
// A managed task with one thread that runs its own reactor: the task's timers and its method
// objects are dispatched by that reactor, one at a time, on that thread.
//
// Wake-up: each queued method object sends the reactor one notify, which runs the head of the queue.
// (So timers and method objects interleave and neither starves the other; ACE keeps pending
// notifies in memory, so queueing never blocks on the notify pipe.)

#include <ace/Event_Handler.h>
#include <ace/Event_Handler_Handle_Timeout_Upcall.h>
#include <ace/Monotonic_Time_Policy.h>
#include <ace/Recursive_Thread_Mutex.h>
#include <ace/Synch_Traits.h>
#include <ace/Reactor.h>
#include <ace/Reactor_Notification_Strategy.h>
#include <ace/Timer_Heap_T.h>

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
    // Call waitUntilDone first: the thread must have ended before the reactor goes.
    ~StaticReactorTaskImpl() override;

    // The thread's first act. Default: RUNNING_STATE. An override sets that state itself, once the
    // task is ready, through setTaskState_i.
    virtual void onSvcEntry();

  private:
    class QueueHandler : public ACE_Event_Handler
    {
      public:
        explicit QueueHandler(StaticReactorTaskImpl& io_task) : m_task(io_task) {}
        int handle_exception(ACE_HANDLE) override;

      private:
        StaticReactorTaskImpl& m_task;
    };

    void runTaskLoop_i() override;
    void endTaskLoop_i() override;
    void runNextMethodObject_i();

    // Timers keep to the monotonic clock: a step of the system's clock neither stalls them nor
    // fires them early.
    using MonotonicTimerHeap = ACE_Timer_Heap_T<ACE_Event_Handler*, ACE_Event_Handler_Handle_Timeout_Upcall,
                                                ACE_SYNCH_RECURSIVE_MUTEX, ACE_Monotonic_Time_Policy>;

    // Both before the reactor: it releases the notifications still pending for the handler, and
    // closes the timer queue, when it goes.
    QueueHandler m_queueHandler;
    MonotonicTimerHeap m_timerQueue;
    ACE_Reactor m_reactor;
    ACE_Reactor_Notification_Strategy m_queueNotifier;
    // Once the loop is told to end, no further method object runs.
    bool m_bLoopEnding = false;
};
