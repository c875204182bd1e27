#pragma once
// Timers that fire on a task's own thread, which expires them from its loop. Task thread only (the
// host may schedule before start). A timer owns its processor: the processor is deleted when the
// timer is cancelled, when it has expired for the last time, or when the task's thread ends.

#include <chrono>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include <ace/Event_Handler.h>
#include <ace/Event_Handler_Handle_Timeout_Upcall.h>
#include <ace/Monotonic_Time_Policy.h>
#include <ace/Recursive_Thread_Mutex.h>
#include <ace/Synch_Traits.h>
#include <ace/Time_Value.h>
#include <ace/Timer_Heap_T.h>

#include "host/thread/TimerScheduler.h"

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
    // Keeps the reference; the task need not be fully built yet. Its thread checker is asked for
    // only when a timer is used.
    explicit TaskWithTimersImpl(const Task& in_task);
    // The owner has cancelled every timer while its thread checker still stood.
    ~TaskWithTimersImpl();

    // Runs the processors of every timer due, earliest first.
    void expireTimers_i();
    // How long until the earliest timer is due (0 when it is), but no longer than in_longest.
    std::chrono::microseconds untilNextExpiry_i(const ACE_Time_Value& in_longest);
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

    // Timers keep to the monotonic clock: a step of the system's clock neither stalls them nor
    // fires them early. Recursive: a processor schedules and cancels from inside an expiry.
    using MonotonicTimerHeap = ACE_Timer_Heap_T<ACE_Event_Handler*, ACE_Event_Handler_Handle_Timeout_Upcall,
                                                ACE_SYNCH_RECURSIVE_MUTEX, ACE_Monotonic_Time_Policy>;

    void expire_i(const ACE_Time_Value& in_now, Timer& io_timer);

    const Task& m_task;
    Dispatcher m_dispatcher;
    MonotonicTimerHeap m_timerQueue;
    std::unordered_map<long, std::unique_ptr<Timer>> m_timers;
    Timer* m_pFiringTimer = nullptr;
    // Cancelled by its own processor: out of the table, so its identifier may be reused at once,
    // and kept alive until the processor has returned.
    std::unique_ptr<Timer> m_pCancelledWhileFiring;
};
