#include <mutex>
#include <vector>

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
    EXPECT_EQ(task.getTaskState(), 2);
    ASSERT_TRUE(task.stop());
    ASSERT_TRUE(task.waitUntilDone());

    EXPECT_EQ(task.getTaskState(), Task::STOPPED_STATE);
    EXPECT_EQ(task.m_vEvents, (Events{"svc-entry", "stop", "close"}));
    EXPECT_EQ(recorder.states(), (Events{"STARTING", "RUNNING", "STOPPING", "STOPPED"}));
    EXPECT_FALSE(task.stop()) << "nothing to stop";
    EXPECT_FALSE(task.kill());

    // A stopped task starts again; an observer removed hears nothing more.
    task.removeTaskObserver(&recorder);
    ASSERT_TRUE(task.start());
    ASSERT_TRUE(task.waitForStart());
    EXPECT_EQ(recorder.states().size(), 4u);
}

TEST(TaskLifecycle, KillEndsATaskWhoseStopHasNotCompleted)
{
    TestReactorTask task("deferring", true);
    StateRecorder recorder;
    task.addTaskObserver(&recorder);
    ASSERT_TRUE(task.start());
    ASSERT_TRUE(task.stop());
    ASSERT_TRUE(task.stop()) << "a second stop is queued, and changes nothing";
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [] {}));
    EXPECT_EQ(task.getTaskState(), Task::STOPPING_STATE);
    EXPECT_FALSE(task.waitUntilDone(ACE_Time_Value::zero));

    ASSERT_TRUE(task.kill());
    ASSERT_TRUE(task.waitUntilDone());
    EXPECT_EQ(task.m_vEvents, (Events{"svc-entry", "stop", "kill", "close"}));
    EXPECT_EQ(recorder.states(), (Events{"STARTING", "RUNNING", "STOPPING", "KILLING", "STOPPED"}));
}

TEST(TaskLifecycle, StopKillExitKillsOnlyWhatDoesNotStopInTime)
{
    TestReactorTask stopping("stopping");
    ASSERT_TRUE(stopping.start());
    EXPECT_TRUE(stopping.stopKillExit(ACE_Time_Value::max_time));
    EXPECT_EQ(stopping.m_vEvents, (Events{"svc-entry", "stop", "close"}));

    TestReactorTask deferring("deferring", true);
    ASSERT_TRUE(deferring.start());
    // A kill queued at once would jump ahead of the stop: let the stop be handled first.
    ASSERT_TRUE(deferring.stop());
    ASSERT_TRUE(runOnTaskThread(deferring.getActivationQueue(), [] {}));
    EXPECT_FALSE(deferring.stopKillExit(ACE_Time_Value::zero));
    EXPECT_EQ(deferring.getTaskState(), Task::STOPPED_STATE);
    EXPECT_EQ(deferring.m_vEvents, (Events{"svc-entry", "stop", "kill", "close"}));
}

TEST(TaskLifecycle, TheTaskThreadCannotWaitForItselfNorStartItself)
{
    TestReactorTask task;
    ASSERT_TRUE(task.start());
    bool bDone = true, bStarted = true, bStart = true;
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] {
        bDone = task.waitUntilDone();
        bStarted = task.waitForStart();
        bStart = task.start();
    }));
    EXPECT_FALSE(bDone);
    EXPECT_FALSE(bStarted);
    EXPECT_FALSE(bStart);
}
