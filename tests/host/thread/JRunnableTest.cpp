#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "host/thread/JRunnableImpl.h"

namespace {
// Counts its passes until told to terminate; its observer terminates it once it runs.
class PassCounter : public JRunnableImpl, public JRunnable::RunningObserver
{
  public:
    const char* getName() const override { return "pass counter"; }
    void newTaskState(JRunnable& io_runnable, Task::State in_state) override
    {
        m_vStates.push_back(in_state);
        if (in_state == Task::RUNNING_STATE)
            io_runnable.terminate();
    }

    unsigned m_uiPasses = 0;
    std::vector<Task::State> m_vStates;

  private:
    std::uint32_t run_i() override
    {
        JRunnableImpl::newTaskState(Task::RUNNING_STATE);
        do
            ++m_uiPasses;
        while (!isTerminateRequested());
        return 7;
    }
};
} // namespace

TEST(JRunnable, RunsOnItsThreadUntilTerminatedAndReportsItsStates)
{
    PassCounter runnable;
    runnable.setRunningObserver(&runnable);
    std::uint32_t uiResult = 0;
    std::thread([&] { uiResult = runnable.run(); }).join();
    EXPECT_EQ(uiResult, 7u);
    EXPECT_EQ(runnable.m_uiPasses, 1u);
    EXPECT_EQ(runnable.m_vStates, (std::vector<Task::State>{Task::RUNNING_STATE, Task::STOPPED_STATE}));
}
