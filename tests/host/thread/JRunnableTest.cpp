#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "host/thread/JRunnableImpl.h"
#include "tests/host/thread/CountDownLatch.h"

namespace {
// Reports running, then passes until told to terminate, as an accept loop does; it hears its own
// states, on the running thread (read them once run has returned).
struct LoopingRunnable : public JRunnableImpl, public JRunnable::RunningObserver
{
    const char* getName() const override { return "looping"; }
    std::uint32_t run_i() override
    {
        runThread = std::this_thread::get_id();
        JRunnableImpl::newTaskState(Task::RUNNING_STATE);
        running.countDown();
        while (!isTerminateRequested())
            ++nPasses;
        return 7;
    }
    void newTaskState(JRunnable&, Task::State in_state) override { vStates.push_back(Task::getStateString(in_state)); }

    CountDownLatch running{1};
    std::thread::id runThread;
    int nPasses = 0;
    std::vector<std::string> vStates;
};
} // namespace

TEST(JRunnableImpl, RunsItsBodyOnTheCallingThreadUntilTerminatedFromAnotherAndThenReportsStopped)
{
    LoopingRunnable runnable, terminatedFirst;
    runnable.setRunningObserver(&runnable);
    std::uint32_t uiResult = 0;
    std::thread host([&] { uiResult = runnable.run(); });
    const std::thread::id hostThread = host.get_id();
    ASSERT_TRUE(runnable.running.wait());
    runnable.terminate();
    host.join();
    EXPECT_EQ(uiResult, 7u);
    EXPECT_EQ(runnable.runThread, hostThread);
    EXPECT_EQ(runnable.vStates, (std::vector<std::string>{"RUNNING", "STOPPED"}));

    terminatedFirst.terminate();
    EXPECT_EQ(terminatedFirst.run(), 7u) << "without an observer";
    EXPECT_EQ(terminatedFirst.nPasses, 0);
}
