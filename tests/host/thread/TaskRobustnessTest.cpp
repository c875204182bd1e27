#include <atomic>
#include <cstddef>
#include <stdexcept>
#include <system_error>
#include <thread>

#include <gtest/gtest.h>

#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"
#include "tests/support/LogCapture.h"

namespace {

// Each run ends as soon as it begins.
struct ShortRunTask : TestReactorTask
{
    ShortRunTask() : TestReactorTask("short-run") {}
    void onSvcEntry() override { TestReactorTask::onSvcEntry(); stopCompleted(); }
};

} // namespace

TEST(TaskStart, ConcurrentStartsAndWaitsNeverThrowNorOverlapRuns)
{
    ShortRunTask task;
    std::atomic<int> nThrown{0};
    auto guarded = [&](auto in_call) {
        return [&, in_call] { try { in_call(); } catch (const std::system_error&) { ++nThrown; } };
    };
    for (int i = 0; i < 300; ++i) {
        std::thread first(guarded([&] { task.start(); }));
        std::thread waiter(guarded([&] { task.waitUntilDone(); }));
        std::thread second(guarded([&] { task.start(); }));
        first.join();
        waiter.join();
        second.join();
        task.waitUntilDone();
    }
    EXPECT_EQ(nThrown, 0);
    // Overlapping runs would interleave their hooks (and race on the events, for the thread sanitizer).
    for (std::size_t i = 0; i < task.m_vEvents.size(); ++i)
        ASSERT_EQ(task.m_vEvents[i], i % 2 ? "close" : "svc-entry") << "event " << i;
}

// The task logs what its method objects throw, and runs on; the timers' test throws from a timer.
TEST(TaskFaults, ThrowingMethodObjectsAreReportedAndTheTaskRunsOn)
{
    TestReactorTask task("faulty");
    ASSERT_TRUE(task.start());
    LogCapture capture("linkhaven.thread.Task");
    ASSERT_TRUE(task.enqueue(new RunOnTaskThread_MO([] { throw std::runtime_error("handler bug"); }, {}), "test"));
    ASSERT_TRUE(task.enqueue(new RunOnTaskThread_MO([] { throw 42; }, {}), "test"));
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { EXPECT_EQ(task.m_vEvents, (Events{"svc-entry", "failure", "failure"})); }));
    EXPECT_EQ(capture.messages(ERROR_LOG_LEVEL), (Events{"task faulty : method object RunOnTaskThread_MO threw : handler bug",
                                                         "task faulty : method object RunOnTaskThread_MO threw : an exception that is not a std::exception"}));
}
