#include <atomic>
#include <cstddef>
#include <ctime>
#include <stdexcept>
#include <system_error>
#include <thread>

#include <gtest/gtest.h>

#include "host/thread/TimeoutProcessor.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"
#include "tests/support/LogCapture.h"

namespace robustness {

// Each run ends as soon as it begins.
struct ShortRunTask : TestReactorTask
{
    ShortRunTask() : TestReactorTask("short-run") {}
    void onSvcEntry() override { TestReactorTask::onSvcEntry(); stopCompleted(); }
};

struct ThrowingProcessor : public TimeoutProcessor
{
    explicit ThrowingProcessor(CountDownLatch& io_expired) : m_expired(io_expired) {}
    void handleTimeout(const ACE_Time_Value& in_now, void*) override
    {
        timespec monotonic{};
        clock_gettime(CLOCK_MONOTONIC, &monotonic);
        s_lClockSkewSec = std::labs(static_cast<long>(in_now.sec()) - static_cast<long>(monotonic.tv_sec));
        m_expired.countDown();
        throw std::runtime_error("timer bug");
    }
    static inline std::atomic<long> s_lClockSkewSec{-1};
    CountDownLatch& m_expired;
};

} // namespace robustness
using namespace robustness;

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

// The task logs what its method objects and timers throw, and runs on: the next ones run, and a
// periodic timer keeps its period.
TEST(TaskFaults, ThrowingMethodObjectsAndTimersAreReportedAndTheTaskRunsOn)
{
    TestReactorTask task("faulty");
    ASSERT_TRUE(task.start());
    LogCapture capture("linkhaven.thread.Task");
    ASSERT_TRUE(task.enqueue(new RunOnTaskThread_MO([] { throw std::runtime_error("handler bug"); }, {}), "test"));
    ASSERT_TRUE(task.enqueue(new RunOnTaskThread_MO([] { throw 42; }, {}), "test"));
    CountDownLatch expired(3);
    long lId = -1;
    Events vEvents;
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] {
        vEvents = task.m_vEvents;
        lId = task.scheduleTimer(new ThrowingProcessor(expired), nullptr, ACE_Time_Value(0, 1000), ACE_Time_Value(0, 1000), 0);
    }));
    EXPECT_EQ(vEvents, (Events{"svc-entry", "failure", "failure"}));
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "task faulty : method object RunOnTaskThread_MO threw : handler bug"));
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "task faulty : method object RunOnTaskThread_MO threw : an exception that is not a std::exception"));
    ASSERT_GE(lId, 0);
    ASSERT_TRUE(expired.wait());
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "task faulty : timer " + std::to_string(lId) + " of robustness::ThrowingProcessor threw : timer bug"));
    // Expiry times come from the monotonic clock, not the time of day.
    EXPECT_LE(ThrowingProcessor::s_lClockSkewSec, 1);
}
