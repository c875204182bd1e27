#include <algorithm>
#include <mutex>

#include <gtest/gtest.h>

#include "host/thread/TaskObserver.h"
#include "host/thread/UserDefHandlerOrderTaskManager.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/TestReactorTask.h"

namespace {
using Events = std::vector<std::string>;

// Hears every task of a group, and notes what the tasks before a starting one, and after a
// stopping one, were doing at that moment.
class GroupRecorder : public TaskObserver
{
  public:
    void watch(TestReactorTask& io_task)
    {
        m_vpTasks.push_back(&io_task);
        io_task.addTaskObserver(this);
    }
    void newTaskState(TaskWithState& io_task, Task::State in_state) override
    {
        if (in_state != Task::STARTING_STATE && in_state != Task::STOPPING_STATE)
            return;
        const std::size_t uiSelf = std::find(m_vpTasks.begin(), m_vpTasks.end(), &io_task) - m_vpTasks.begin();
        std::string strLine = io_task.getTaskName() + " " + Task::getStateString(in_state) + ":";
        for (std::size_t i = 0; i < m_vpTasks.size(); ++i)
            if (in_state == Task::STARTING_STATE ? i < uiSelf : i > uiSelf)
                strLine += " " + m_vpTasks[i]->getTaskName() + " " + Task::getStateString(m_vpTasks[i]->getTaskState());
        std::lock_guard<std::mutex> lock(m_mutex);
        m_vEvents.push_back(strLine);
        if (uiSelf == 0 && in_state == Task::STOPPING_STATE)
            m_firstStopping.countDown();
    }
    Events events()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_vEvents;
    }

    CountDownLatch m_firstStopping{1};

  private:
    std::vector<TaskWithState*> m_vpTasks;
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
            m_recorder.watch(*pTask);
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
    ASSERT_TRUE(m_recorder.m_firstStopping.wait());
    EXPECT_FALSE(manager.stopKillExit(ACE_Time_Value::zero)) << "a defers its stop, so it is killed";
    EXPECT_EQ(m_recorder.events(), (Events{"a STARTING:", "b STARTING: a RUNNING", "c STARTING: a RUNNING b RUNNING",
                                           "c STOPPING:", "b STOPPING: c STOPPED", "a STOPPING: b STOPPED c STOPPED"}));
    EXPECT_EQ(m_a.m_vEvents, (Events{"svc-entry", "stop", "kill", "close"}));
    EXPECT_EQ(manager.getState(), Task::STOPPED_STATE);
    EXPECT_TRUE(manager.clearTasks());
}

TEST_F(TaskGroup, ATaskEndingOnItsOwnStopsTheWholeGroup)
{
    UserDefHandlerTaskManager manager;
    add(manager, {&m_b, &m_c});
    ASSERT_TRUE(manager.start() && manager.waitForStart());
    ASSERT_TRUE(m_b.stop());
    ASSERT_TRUE(manager.waitUntilDone());
    EXPECT_EQ(m_c.m_vEvents, (Events{"svc-entry", "stop", "close"}));
}

TEST_F(TaskGroup, NewsOfAKilledRunDoesNotStopTheNextOrderedRun)
{
    UserDefHandlerOrderTaskManager manager;
    add(manager, {&m_b, &m_c});
    // The members' news of the kill reaches the group after its thread has ended, and waits
    // there for the next run, in which c has not been started yet when it arrives.
    for (int run = 0; run < 5; ++run) {
        ASSERT_TRUE(manager.start());
        ASSERT_TRUE(manager.waitForStart()) << "run " << run;
        ASSERT_TRUE(manager.kill());
        ASSERT_TRUE(manager.waitUntilDone() && m_b.waitUntilDone() && m_c.waitUntilDone());
    }
}
