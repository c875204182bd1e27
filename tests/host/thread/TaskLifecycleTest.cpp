#include <mutex>

#include <gtest/gtest.h>

#include "host/thread/TaskObserver.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"

namespace {
using Events = std::vector<std::string>;

class StateRecorder : public TaskObserver
{
  public:
    void newTaskState(TaskWithState&, Task::State in_state) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_vStates.push_back(Task::getStateString(in_state));
    }
    Events states()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_vStates;
    }

  private:
    std::mutex m_mutex;
    Events m_vStates;
};
} // namespace

TEST(TaskLifecycle, StartedTaskRunsUntilStoppedAndObserversHearEveryChange)
{
    TestReactorTask task;
    StateRecorder recorder;
    task.addTaskObserver(&recorder);
    EXPECT_FALSE(task.waitForStart()) << "never started";
    ASSERT_TRUE(task.start());
    EXPECT_FALSE(task.start());
    ASSERT_TRUE(task.waitForStart());
    EXPECT_EQ(task.getTaskState(), Task::RUNNING_STATE);
    // A time-out of centuries waits like no time-out, rather than wrapping around into none at all.
    ASSERT_TRUE(task.stop() && task.waitUntilDone(ACE_Time_Value(ACE_Time_Value::max_time.sec() - 10)));
    EXPECT_EQ(task.getTaskState(), Task::STOPPED_STATE);
    EXPECT_EQ(task.m_vEvents, (Events{"svc-entry", "stop", "close"}));
    EXPECT_EQ(recorder.states(), (Events{"STARTING", "RUNNING", "STOPPING", "STOPPED"}));
    EXPECT_FALSE(task.stop() || task.kill()) << "nothing to stop";

    task.removeTaskObserver(&recorder);
    ASSERT_TRUE(task.start() && task.waitForStart()) << "a stopped task starts again";
    EXPECT_EQ(recorder.states().size(), 4u) << "a removed observer hears nothing more";
}

TEST(TaskLifecycle, KillEndsATaskWhoseStopDoesNotCompleteAndStopKillExitDoesSoInTime)
{
    TestReactorTask task("deferring", true);
    StateRecorder recorder;
    task.addTaskObserver(&recorder);
    ASSERT_TRUE(task.start());
    ASSERT_TRUE(task.stop() && task.stop()) << "a second stop is queued, and changes nothing";
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [] {})) << "a stopping task still runs what is queued";
    EXPECT_FALSE(task.waitUntilDone(ACE_Time_Value::zero));
    EXPECT_FALSE(task.stopKillExit(ACE_Time_Value::zero));
    EXPECT_EQ(task.m_vEvents, (Events{"svc-entry", "stop", "kill", "close"}));
    EXPECT_EQ(recorder.states(), (Events{"STARTING", "RUNNING", "STOPPING", "KILLING", "STOPPED"}));

    TestReactorTask stopping("stopping");
    ASSERT_TRUE(stopping.start());
    EXPECT_TRUE(stopping.stopKillExit(ACE_Time_Value::max_time));
    EXPECT_EQ(stopping.m_vEvents, (Events{"svc-entry", "stop", "close"}));
}

TEST(TaskLifecycle, TheTaskThreadCannotWaitForItselfNorStartItself)
{
    TestReactorTask task;
    ASSERT_TRUE(task.start());
    bool bAny = true;
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(),
                                [&] { bAny = task.waitUntilDone() || task.waitForStart() || task.start(); }));
    EXPECT_FALSE(bAny);
}
