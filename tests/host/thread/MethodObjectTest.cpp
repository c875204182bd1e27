#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"

namespace {
using Events = std::vector<std::string>;

// Writes its name into the task's events when run; counts its destruction.
class Named_MO : public ACE_Method_Request
{
  public:
    Named_MO(TestReactorTask& io_task, std::string in_strName, std::atomic<int>& io_destroyed,
             int in_nStatus = MO_CALL_SUCCESS)
        : m_task(io_task), m_strName(std::move(in_strName)), m_destroyed(io_destroyed), m_nStatus(in_nStatus)
    {
    }
    ~Named_MO() override { ++m_destroyed; }
    int call() override
    {
        m_task.m_vEvents.push_back(m_strName);
        m_ranOn = std::this_thread::get_id();
        return m_nStatus;
    }
    static std::thread::id m_ranOn;

  private:
    TestReactorTask& m_task;
    const std::string m_strName;
    std::atomic<int>& m_destroyed;
    const int m_nStatus;
};
std::thread::id Named_MO::m_ranOn;

// Holds the task's thread until the test lets it go, so that later objects stay queued.
class Blocking_MO : public ACE_Method_Request
{
  public:
    explicit Blocking_MO(CountDownLatch& io_release) : m_release(io_release) {}
    int call() override { return m_release.wait() ? MO_CALL_SUCCESS : MO_CALL_FAILURE; }

  private:
    CountDownLatch& m_release;
};
} // namespace

TEST(MethodObjects, RunInQueueOrderOnTheTaskThreadIncludingThoseQueuedBeforeStart)
{
    TestReactorTask task;
    std::atomic<int> destroyed{0};
    Events expected{"svc-entry"};
    for (int i = 0; i < 200; ++i) {
        if (i == 100) {
            ASSERT_TRUE(task.start());
        }
        ASSERT_TRUE(task.enqueue(new Named_MO(task, std::to_string(i), destroyed), "test"));
        expected.push_back(std::to_string(i));
    }
    std::thread::id taskThread;
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { taskThread = std::this_thread::get_id(); }));
    EXPECT_NE(taskThread, std::this_thread::get_id());
    ASSERT_TRUE(task.stop() && task.waitUntilDone());

    expected.insert(expected.end(), {"stop", "close"});
    EXPECT_EQ(task.m_vEvents, expected);
    EXPECT_EQ(Named_MO::m_ranOn, taskThread);
    EXPECT_EQ(destroyed, 200);
}

TEST(MethodObjects, StatusesReachTheirHooks)
{
    std::atomic<int> destroyed{0};
    TestReactorTask stopped("stopped");
    ASSERT_TRUE(stopped.start());
    stopped.enqueue(new Named_MO(stopped, "fails", destroyed, MO_CALL_FAILURE), "test");
    stopped.enqueue(new Named_MO(stopped, "stops", destroyed, MO_CALL_STOP), "test");
    ASSERT_TRUE(stopped.waitUntilDone());
    EXPECT_EQ(stopped.m_vEvents, (Events{"svc-entry", "fails", "failure", "stops", "stop", "close"}));

    TestReactorTask killed("killed");
    ASSERT_TRUE(killed.start());
    killed.enqueue(new Named_MO(killed, "kills", destroyed, MO_CALL_KILL), "test");
    ASSERT_TRUE(killed.waitUntilDone());
    EXPECT_EQ(killed.m_vEvents, (Events{"svc-entry", "kills", "kill", "close"}));
}

TEST(MethodObjects, StopRunsWhatWasQueuedBeforeItAndTheRestIsDestroyedUnrun)
{
    TestReactorTask task;
    std::atomic<int> destroyed{0};
    CountDownLatch release(1);
    ASSERT_TRUE(task.start());
    task.enqueue(new Blocking_MO(release), "test");
    task.enqueue(new Named_MO(task, "before", destroyed), "test");
    task.enqueue(new Named_MO(task, "stops", destroyed, MO_CALL_STOP), "test");
    task.enqueue(new Named_MO(task, "after", destroyed), "test");
    release.countDown();
    ASSERT_TRUE(task.waitUntilDone());

    EXPECT_EQ(task.m_vEvents, (Events{"svc-entry", "before", "stops", "stop", "close"}));
    EXPECT_EQ(destroyed, 3);
}

TEST(MethodObjects, KillJumpsAheadOfEverythingQueued)
{
    TestReactorTask task;
    std::atomic<int> destroyed{0};
    CountDownLatch release(1);
    ASSERT_TRUE(task.start());
    task.enqueue(new Blocking_MO(release), "test");
    task.enqueue(new Named_MO(task, "queued", destroyed), "test");
    ASSERT_TRUE(task.kill());
    release.countDown();
    ASSERT_TRUE(task.waitUntilDone());

    EXPECT_EQ(task.m_vEvents, (Events{"svc-entry", "kill", "close"}));
    EXPECT_EQ(destroyed, 1);
}

TEST(MethodObjects, RefusedOnesAreDestroyedAndLateOnesWaitForTheNextStartOrGoWithTheTask)
{
    std::atomic<int> destroyed{0};
    {
        TestReactorTask task;
        EXPECT_FALSE(Task::enqueue(nullptr, new Named_MO(task, "refused", destroyed), "test"));
        EXPECT_EQ(destroyed, 1);
        EXPECT_FALSE(task.getActivationQueue()->enqueueMO(nullptr, "test"));

        ASSERT_TRUE(task.start());
        ASSERT_TRUE(task.stop() && task.waitUntilDone());
        task.enqueue(new Named_MO(task, "late", destroyed), "test");
        ASSERT_TRUE(task.start());
        ASSERT_TRUE(task.stop() && task.waitUntilDone());
        EXPECT_EQ(task.m_vEvents, (Events{"svc-entry", "stop", "close", "svc-entry", "late", "stop", "close"}));

        task.enqueue(new Named_MO(task, "never", destroyed), "test");
    }
    EXPECT_EQ(destroyed, 3);
}
