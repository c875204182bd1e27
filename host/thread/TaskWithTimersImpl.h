#pragma once
// Timers on a task's reactor, so that they fire on the task's own thread. Task thread only (the
// host may schedule before start). A timer owns its processor: the processor is deleted when the
// timer is cancelled, when it has expired for the last time, or when the task's thread ends.

#include <cstdint>
#include <memory>
#include <unordered_map>

#include <ace/Event_Handler.h>
#include <ace/Time_Value.h>

#include "host/thread/TimerScheduler.h"

class ACE_Reactor;
class Task;
class TimeoutProcessor;

class TaskWithTimersImpl : public virtual TimerScheduler
{
  public:
    TaskWithTimersImpl(const TaskWithTimersImpl&) = delete;
    TaskWithTimersImpl& operator=(const TaskWithTimersImpl&) = delete;

    // First expiry after in_delay, then every in_interval (zero or less: once). in_ulCount ends the timer
    // after that many expiries; 0 sets no limit. Gives the timer's identifier, 0 or more, or -1
    // when it could not be scheduled (the processor is then deleted).
    long scheduleTimer(TimeoutProcessor* in_pProcessor, void* in_pData, const ACE_Time_Value& in_delay,
                       const ACE_Time_Value& in_interval, std::uint64_t in_ulCount) override;
    // False when no such timer runs. The timer's data goes back through out_ppData unless null.
    // A processor may cancel its own timer from handleTimeout; it is deleted once that returns. On
    // its last expiry the timer has already ended, and cancelling it gives false.
    bool cancelTimer(long in_lTimerId, void** out_ppData) override;

  protected:
    // Keeps both references; neither need be fully built yet. The task's thread checker is asked
    // for only when a timer is used.
    TaskWithTimersImpl(ACE_Reactor& io_reactor, const Task& in_task);
    ~TaskWithTimersImpl();

    // The owner calls it while its reactor stands; the destructor cancels nothing.
    void cancelAllTimers();

  private:
    struct Timer
    {
        long lId;
        std::unique_ptr<TimeoutProcessor> pProcessor;
        void* pData;
        bool bPeriodic;
        std::uint64_t ulExpiriesLeft; // 0: no limit
    };

    class Dispatcher : public ACE_Event_Handler
    {
      public:
        explicit Dispatcher(TaskWithTimersImpl& io_owner) : m_owner(io_owner) {}
        int handle_timeout(const ACE_Time_Value& in_now, const void* in_pAct) override;

      private:
        TaskWithTimersImpl& m_owner;
    };

    void expire_i(const ACE_Time_Value& in_now, Timer& io_timer);

    ACE_Reactor& m_reactor;
    const Task& m_task;
    Dispatcher m_dispatcher;
    std::unordered_map<long, std::unique_ptr<Timer>> m_timers;
    Timer* m_pFiringTimer = nullptr;
    // Cancelled by its own processor: out of the table, so its identifier may be reused at once,
    // and kept alive until the processor has returned.
    std::unique_ptr<Timer> m_pCancelledWhileFiring;
};
