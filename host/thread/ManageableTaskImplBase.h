#pragma once
// The lifecycle of a managed task: its name, state and observers, its activation queue, its
// thread, and what stop and kill do. The loop that the thread runs is the derived class's
// (StaticReactorTaskImpl).
//
// stop() queues a method object behind those already queued: they run first, then
// handleMOCallStop, which ends the task through stopCompleted() (at once by default, or later).
// kill() queues one ahead of every other: handleMOCallKill runs, then the thread ends.
// Method objects still queued when the thread ends are destroyed without running, on the task's
// thread, those that carry bookkeeping once it is done (BookkeepingMethodRequest); objects queued
// while the task does not run wait for its next start.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/core/TSHandle.h"
#include "host/thread/ActivationQueue.h"
#include "host/thread/MOCallStatus.h"
#include "host/thread/ManageableTask.h"
#include "host/thread/ObjectWithActivationQueue.h"
#include "host/thread/ThreadChecker.h"

class ROConfiguration;

class ManageableTaskImplBase : public virtual ManageableTask, public virtual ObjectWithActivationQueue
{
  public:
    ManageableTaskImplBase(const ManageableTaskImplBase&) = delete;
    ManageableTaskImplBase& operator=(const ManageableTaskImplBase&) = delete;

    // Before start: keeps the configuration for the task's thread; always true.
    bool configure(const TSHandle<ROConfiguration>& in_hConfig);

    const std::string& getTaskName() const override { return m_strTaskName; }
    void setTaskName(const char* in_szName) override;

    // Any thread but the task's own. False unless the task was stopped.
    bool start() override;
    // Any thread. False when the task is stopped (nothing is queued then) or the queue refused.
    bool stop() override;
    bool kill() override;
    bool waitUntilDone(const ACE_Time_Value& in_timeout = ACE_Time_Value::max_time) override;
    bool waitForStart(const ACE_Time_Value& in_timeout = ACE_Time_Value::max_time) override;
    bool stopKillExit(const ACE_Time_Value& in_stopTimeout) override;

    State getTaskState() const override { return m_state.load(std::memory_order_acquire); }
    void addTaskObserver(TaskObserver* in_pObserver) override;
    void removeTaskObserver(TaskObserver* in_pObserver) override;

    const ThreadChecker& getThreadChecker() const override { return m_threadChecker; }
    ActivationQueue* getActivationQueue() override { return &m_activationQueue; }

    using Task::enqueue;
    // As Task::enqueue, on this task's queue.
    bool enqueue(ACE_Method_Request* in_pMO, const char* in_szDescription);

  protected:
    ManageableTaskImplBase();
    // The thread must have ended (waitUntilDone) before a derived part is destroyed.
    ~ManageableTaskImplBase() override;

    // Task thread only. Tells the observers when the state changes.
    void setTaskState_i(State in_state);
    // Task thread only: ends the thread's loop after the current method object or timer.
    void stopCompleted();

    // Task thread hooks.
    virtual void handleMOCallFailure();
    // Default: stopCompleted().
    virtual void handleMOCallStop();
    // Default: nothing; the thread ends right after.
    virtual void handleMOCallKill();
    // After the loop and the destruction of what was left queued. Default: STOPPED_STATE; gives 0.
    virtual int close(unsigned long in_ulFlags);

    // Task thread: runs one method object, destroys it, and acts on its status. One that throws is
    // reported and counts as failed.
    void runMethodObject_i(ACE_Method_Request* in_pMO);

    // The thread's loop: returns once endTaskLoop_i has been called.
    virtual void runTaskLoop_i() = 0;
    virtual void endTaskLoop_i() = 0;

    // For the destructor of the class that supplies the loop: reports a thread that still runs,
    // kills it and waits for it.
    void endThreadForDestruction();

    TSHandle<ROConfiguration> m_hConfigCache;

  private:
    void threadBody();
    void changeState(State in_state);
    bool queueLifecycle(MOCallStatus in_status, const char* in_szDescription);

    std::string m_strTaskName;
    std::atomic<State> m_state{STOPPED_STATE};
    // A stop or kill applies only to the run it was asked of.
    std::atomic<std::uint64_t> m_ulRunGeneration{0};
    // Set when the task is destroyed with its thread still running.
    std::atomic<bool> m_bDestroying{false};

    std::mutex m_mutexState;
    std::condition_variable m_condState;
    bool m_bRunningReached = false;

    std::mutex m_mutexObservers;
    std::vector<TaskObserver*> m_vpObservers;

    std::mutex m_mutexThread;
    std::condition_variable m_condThread;
    bool m_bThreadRunning = false;
    std::thread m_thread;

    ThreadChecker m_threadChecker;
    ActivationQueue m_activationQueue;
};
