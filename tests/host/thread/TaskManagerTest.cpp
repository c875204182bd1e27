#include <mutex>

#include <gtest/gtest.h>

#include "host/thread/TaskObserver.h"
#include "host/thread/UserDefHandlerOrderTaskManager.h"
#include "tests/host/thread/TestReactorTask.h"

namespace {
using Events = std::vector<std::string>;

// Hears every task of a group, so that the order across tasks shows.
class GroupRecorder : public TaskObserver
{
  public:
    void newTaskState(TaskWithState& io_task, Task::State in_state) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (in_state == Task::RUNNING_STATE || in_state == Task::STOPPED_STATE)
            m_vEvents.push_back(io_task.getTaskName() + " " + Task::getStateString(in_state));
    }
    Events events()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_vEvents;
    }

  private:
    std::mutex m_mutex;
    Events m_vEvents;
};

class TaskGroup : public ::testing::Test
{
  protected:
    void add(StopKillExitTaskManager& io_manager, std::initializer_list<TestReactorTask*> in_tasks)
    {
        io_manager.setTaskName("group");
        for (TestReactorTask* pTask : in_tasks) {
            pTask->addTaskObserver(&m_recorder); // first, so that it hears before the manager acts
            ASSERT_TRUE(io_manager.addTask(*pTask));
        }
    }

    GroupRecorder m_recorder;
    TestReactorTask m_a{"a", true}, m_b{"b"}, m_c{"c"};
};
} // namespace

TEST_F(TaskGroup, OrderedGroupStartsInOrderStopsInReverseAndKillsWhatDoesNotStop)
{
    UserDefHandlerOrderTaskManager manager;
    add(manager, {&m_a, &m_b, &m_c});
    ASSERT_TRUE(manager.start());
    ASSERT_TRUE(manager.waitForStart());
    EXPECT_STREQ(Task::getStateString(manager.getState()), "RUNNING");
    EXPECT_FALSE(manager.addTask(m_a)) << "only while the group is stopped";
    EXPECT_FALSE(manager.clearTasks());

    ASSERT_TRUE(manager.stop());
    ASSERT_TRUE(m_b.waitUntilDone());
    EXPECT_FALSE(manager.stopKillExit(ACE_Time_Value::zero)) << "a defers its stop, so it is killed";
    EXPECT_EQ(m_recorder.events(), (Events{"a RUNNING", "b RUNNING", "c RUNNING", "c STOPPED", "b STOPPED", "a STOPPED"}));
    EXPECT_EQ(m_a.m_vEvents.end()[-2], "kill");
    EXPECT_EQ(manager.getState(), Task::STOPPED_STATE);
    EXPECT_TRUE(manager.clearTasks());
}

TEST_F(TaskGroup, ATaskEndingOnItsOwnStopsTheWholeGroup)
{
    UserDefHandlerTaskManager manager;
    add(manager, {&m_b, &m_c});
    ASSERT_TRUE(manager.start());
    ASSERT_TRUE(manager.waitForStart());
    ASSERT_TRUE(m_b.stop());
    ASSERT_TRUE(manager.waitUntilDone());
    EXPECT_EQ(m_c.getTaskState(), Task::STOPPED_STATE);
    EXPECT_EQ(m_c.m_vEvents, (Events{"svc-entry", "stop", "close"}));
}
