#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"

namespace {
using Events = std::vector<std::string>;

// Writes its name into the task's events when run, and checks its thread; counts its destruction.
class Named_MO : public ACE_Method_Request
{
  public:
    Named_MO(TestReactorTask& io_task, std::string in_strName, int in_nStatus = MO_CALL_SUCCESS)
        : m_task(io_task), m_strName(std::move(in_strName)), m_nStatus(in_nStatus)
    {
    }
    ~Named_MO() override { ++s_destroyed; }
    int call() override
    {
        EXPECT_TRUE(m_task.getThreadChecker().isBoundToCurrentThread());
        m_task.m_vEvents.push_back(m_strName);
        return m_nStatus;
    }
    static inline std::atomic<int> s_destroyed{0};

  private:
    TestReactorTask& m_task;
    const std::string m_strName;
    const int m_nStatus;
};

// Holds the task's thread until the test lets it go, so that what follows stays queued.
class Blocking_MO : public ACE_Method_Request
{
  public:
    explicit Blocking_MO(CountDownLatch& io_release) : m_release(io_release) {}
    int call() override { return m_release.wait() ? MO_CALL_SUCCESS : MO_CALL_FAILURE; }

  private:
    CountDownLatch& m_release;
};

class MethodObjects : public ::testing::Test
{
  protected:
    void SetUp() override { Named_MO::s_destroyed = 0; }
    void queue(std::initializer_list<const char*> in_names, int in_nStatus = MO_CALL_SUCCESS)
    {
        for (const char* szName : in_names)
            ASSERT_TRUE(m_task.enqueue(new Named_MO(m_task, szName, in_nStatus), "test"));
    }

    CountDownLatch m_release{1};
    TestReactorTask m_task;
};
} // namespace

TEST_F(MethodObjects, RunInQueueOrderOnTheTaskThreadIncludingThoseQueuedBeforeStart)
{
    // More than the reactor's notify pipe could hold: queueing must not block on it.
    constexpr int QUEUED = 10000;
    Events expected{"svc-entry"};
    for (int i = 0; i < QUEUED; ++i) {
        if (i == QUEUED / 2) {
            ASSERT_TRUE(m_task.start()) << "the first half wait for it";
        }
        queue({std::to_string(i).c_str()});
        expected.push_back(std::to_string(i));
    }
    ASSERT_TRUE(m_task.stop() && m_task.waitUntilDone());
    expected.insert(expected.end(), {"stop", "close"});
    EXPECT_EQ(m_task.m_vEvents, expected);
    EXPECT_EQ(Named_MO::s_destroyed, QUEUED);
}

TEST_F(MethodObjects, StopRunsWhatWasQueuedBeforeItAndWhatFollowsIsDestroyedUnrun)
{
    ASSERT_TRUE(m_task.start());
    m_task.enqueue(new Blocking_MO(m_release), "test");
    queue({"fails"}, MO_CALL_FAILURE);
    queue({"stops"}, MO_CALL_STOP);
    queue({"after"});
    m_release.countDown();
    ASSERT_TRUE(m_task.waitUntilDone());
    EXPECT_EQ(m_task.m_vEvents, (Events{"svc-entry", "fails", "failure", "stops", "stop", "close"}));
    EXPECT_EQ(Named_MO::s_destroyed, 3);
}

TEST_F(MethodObjects, KillJumpsAheadOfEverythingQueued)
{
    ASSERT_TRUE(m_task.start());
    m_task.enqueue(new Blocking_MO(m_release), "test");
    queue({"queued", "more"});
    ASSERT_TRUE(m_task.kill());
    m_release.countDown();
    ASSERT_TRUE(m_task.waitUntilDone());
    EXPECT_EQ(m_task.m_vEvents, (Events{"svc-entry", "kill", "close"}));
    EXPECT_EQ(Named_MO::s_destroyed, 2);
}

TEST_F(MethodObjects, RefusedOnesAreDestroyedAndLateOnesWaitForTheNextStartOrGoWithTheTask)
{
    EXPECT_FALSE(Task::enqueue(nullptr, new Named_MO(m_task, "refused"), "test"));
    EXPECT_FALSE(m_task.getActivationQueue()->enqueueMO(nullptr, "test"));
    EXPECT_EQ(Named_MO::s_destroyed, 1);
    {
        TestReactorTask task;
        ASSERT_TRUE(task.start());
        ASSERT_TRUE(task.stop() && task.waitUntilDone());
        task.enqueue(new Named_MO(task, "late"), "test");
        ASSERT_TRUE(task.start());
        ASSERT_TRUE(task.stop() && task.waitUntilDone());
        EXPECT_EQ(task.m_vEvents, (Events{"svc-entry", "stop", "close", "svc-entry", "late", "stop", "close"}));
        task.enqueue(new Named_MO(task, "never"), "test");
    }
    EXPECT_EQ(Named_MO::s_destroyed, 3);
}
