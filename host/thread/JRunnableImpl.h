#pragma once
// The plain runnable: run() runs the derived run_i and then reports STOPPED_STATE; terminate()
// sets a flag that run_i reads between its passes.

#include <atomic>

#include "host/thread/JRunnable.h"

class JRunnableImpl : public virtual JRunnable
{
  public:
    std::uint32_t run() override;
    void terminate() override { m_bTerminate.store(true, std::memory_order_release); }
    void setRunningObserver(RunningObserver* in_pObserver) override;

  protected:
    JRunnableImpl() = default;

    virtual std::uint32_t run_i() = 0;
    bool isTerminateRequested() const { return m_bTerminate.load(std::memory_order_acquire); }
    // On the running thread: tells the running observer, if there is one.
    void newTaskState(Task::State in_state);

  private:
    std::atomic<bool> m_bTerminate{false};
    std::atomic<RunningObserver*> m_pRunningObserver{nullptr};
};
