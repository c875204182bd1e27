#include <gtest/gtest.h>

#include "host/thread/UserDefHandlerOrderTaskManager.h"
#include "tests/host/thread/TestReactorTask.h"

namespace {
class TaskGroup : public ::testing::Test
{
  protected:
    void add(StopKillExitTaskManager& io_manager, std::initializer_list<TestReactorTask*> in_tasks)
    {
        io_manager.setTaskName("group");
        for (TestReactorTask* pTask : in_tasks) {
            m_recorder.watch(*pTask);
            ASSERT_TRUE(io_manager.addTask(*pTask));
        }
    }

    StateRecorder m_recorder{true};
    TestReactorTask m_a{"a", true}, m_b{"b"}, m_c{"c"};
};
} // namespace

TEST_F(TaskGroup, OrderedGroupStartsInOrderStopsInReverseAndKillsWhatDoesNotStop)
{
    UserDefHandlerOrderTaskManager manager;
    add(manager, {&m_a, &m_b, &m_c});
    m_recorder.m_strAwaited = "a STOPPING";
    ASSERT_TRUE(manager.start() && manager.waitForStart());
    EXPECT_EQ(manager.getState(), Task::RUNNING_STATE);
    EXPECT_FALSE(manager.addTask(m_a) || manager.clearTasks()) << "only while the group is stopped";
    ASSERT_TRUE(manager.stop());
    ASSERT_TRUE(m_recorder.m_awaited.wait());
    EXPECT_FALSE(manager.stopKillExit(ACE_Time_Value::zero)) << "a defers its stop, so it is killed";
    EXPECT_EQ(m_recorder.lines(), (Events{"a STARTING", "b STARTING, a RUNNING", "c STARTING, a RUNNING, b RUNNING", "c STOPPING",
                                          "b STOPPING, c STOPPED", "a STOPPING, b STOPPED, c STOPPED"}));
    EXPECT_EQ(m_a.m_vEvents, (Events{"svc-entry", "stop", "kill", "close"}));
    EXPECT_EQ(manager.getState(), Task::STOPPED_STATE);
    EXPECT_TRUE(manager.clearTasks());
}

// The members' news of a kill reaches the group after its thread has ended, and waits there for the
// next run, in which c has not been started yet when it arrives: it must not stop that run.
TEST_F(TaskGroup, ATaskEndingOnItsOwnStopsTheWholeGroupAndNewsOfAKilledRunDoesNotStopTheNextRun)
{
    UserDefHandlerTaskManager group;
    UserDefHandlerOrderTaskManager ordered;
    add(group, {&m_b, &m_c});
    ASSERT_TRUE(group.start() && group.waitForStart());
    ASSERT_TRUE(m_b.stop());
    ASSERT_TRUE(group.waitUntilDone());
    EXPECT_EQ(m_c.m_vEvents, (Events{"svc-entry", "stop", "close"}));
    ASSERT_TRUE(group.clearTasks());
    add(ordered, {&m_b, &m_c});
    for (int run = 0; run < 5; ++run) {
        ASSERT_TRUE(ordered.start());
        ASSERT_TRUE(ordered.waitForStart()) << "run " << run;
        ASSERT_TRUE(ordered.kill());
        ASSERT_TRUE(ordered.waitUntilDone() && m_b.waitUntilDone() && m_c.waitUntilDone());
    }
}
