#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "host/thread/JRunnableImpl.h"
#include "tests/host/thread/CountDownLatch.h"

namespace {
// Reports running, then passes until told to terminate, as an accept loop does.
class LoopingRunnable : public JRunnableImpl
{
  public:
    const char* getName() const override { return "looping"; }

    CountDownLatch running{1};
    std::thread::id runThread;
    int nPasses = 0;

  protected:
    std::uint32_t run_i() override
    {
        runThread = std::this_thread::get_id();
        newTaskState(Task::RUNNING_STATE);
        running.countDown();
        while (!isTerminateRequested())
            ++nPasses;
        return 7;
    }
};

// Told on the running thread: read it once run has returned.
class StateRecorder : public JRunnable::RunningObserver
{
  public:
    void newTaskState(JRunnable& io_runnable, Task::State in_state) override
    {
        vStates.push_back(std::string(io_runnable.getName()) + " " + Task::getStateString(in_state));
    }
    std::vector<std::string> vStates;
};
} // namespace

TEST(JRunnableImpl, RunsItsBodyOnTheCallingThreadUntilTerminatedFromAnotherAndThenReportsStopped)
{
    LoopingRunnable runnable;
    StateRecorder recorder;
    runnable.setRunningObserver(&recorder);
    std::uint32_t uiResult = 0;
    std::thread::id hostThread;
    std::thread host([&] {
        hostThread = std::this_thread::get_id();
        uiResult = runnable.run();
    });
    ASSERT_TRUE(runnable.running.wait());
    runnable.terminate();
    host.join();
    EXPECT_EQ(uiResult, 7u);
    EXPECT_EQ(runnable.runThread, hostThread);
    EXPECT_EQ(recorder.vStates, (std::vector<std::string>{"looping RUNNING", "looping STOPPED"}));

    LoopingRunnable terminatedFirst;
    terminatedFirst.terminate();
    EXPECT_EQ(terminatedFirst.run(), 7u) << "without an observer";
    EXPECT_EQ(terminatedFirst.nPasses, 0);
}
