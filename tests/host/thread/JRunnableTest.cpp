#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <utility>
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

class StateRecorder : public JRunnable::RunningObserver
{
  public:
    void newTaskState(JRunnable& io_runnable, Task::State in_state) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        vStates.emplace_back(io_runnable.getName(), in_state);
    }
    std::vector<std::pair<std::string, Task::State>> states()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return vStates;
    }

  private:
    std::mutex m_mutex;
    std::vector<std::pair<std::string, Task::State>> vStates;
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
    EXPECT_EQ(recorder.states(), (std::vector<std::pair<std::string, Task::State>>{
                                     {"looping", Task::RUNNING_STATE}, {"looping", Task::STOPPED_STATE}}));
}

TEST(JRunnableImpl, TerminatedBeforeRunEndsAtItsFirstCheckWithoutAnObserver)
{
    LoopingRunnable runnable;
    runnable.terminate();
    EXPECT_EQ(runnable.run(), 7u);
    EXPECT_EQ(runnable.nPasses, 0);
}
