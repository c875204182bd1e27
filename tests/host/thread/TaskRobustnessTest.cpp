#include <atomic>
#include <ctime>
#include <stdexcept>
#include <system_error>
#include <thread>

#include <gtest/gtest.h>

#include "host/thread/StaticReactorTaskImpl.h"
#include "host/thread/TimeoutProcessor.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"
#include "tests/support/LogCapture.h"

namespace robustness {

// Each run ends as soon as it begins; the task counts the runs that overlap.
class ShortRunTask : public StaticReactorTaskImpl
{
  public:
    ShortRunTask() { setTaskName("short-run"); }
    ~ShortRunTask() override { waitUntilDone(); }

    std::atomic<int> m_nRunning{0};
    std::atomic<int> m_nMostRunning{0};

  protected:
    void onSvcEntry() override
    {
        const int nRunning = ++m_nRunning;
        int nMost = m_nMostRunning.load();
        while (nRunning > nMost && !m_nMostRunning.compare_exchange_weak(nMost, nRunning)) {
        }
        stopCompleted();
    }
    int close(unsigned long in_ulFlags) override
    {
        --m_nRunning;
        return StaticReactorTaskImpl::close(in_ulFlags);
    }
};

// Exposes the timers; its hooks are recorded in m_vEvents ("failure" for a failed method object).
struct FaultyTask : TestReactorTask
{
    FaultyTask() : TestReactorTask("faulty") {}
    // Its thread ends before any part of it goes: the thread reads the task's type as it reports.
    ~FaultyTask() override
    {
        kill();
        waitUntilDone();
    }
    using StaticReactorTaskImpl::scheduleTimer;
};

class Throwing_MO : public ACE_Method_Request
{
  public:
    explicit Throwing_MO(bool in_bStdException) : m_bStdException(in_bStdException) {}
    int call() override
    {
        if (m_bStdException)
            throw std::runtime_error("handler bug");
        throw 42;
    }

  private:
    const bool m_bStdException;
};

class ThrowingProcessor : public TimeoutProcessor
{
  public:
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

  private:
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
    EXPECT_EQ(task.m_nMostRunning, 1);
}

TEST(TaskFaults, AThrowingMethodObjectIsReportedAsFailedAndTheNextOneRuns)
{
    FaultyTask task;
    ASSERT_TRUE(task.start());
    LogCapture capture("linkhaven.thread.Task");
    ASSERT_TRUE(task.enqueue(new Throwing_MO(true), "test"));
    ASSERT_TRUE(task.enqueue(new Throwing_MO(false), "test"));
    Events vEvents;
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { vEvents = task.m_vEvents; }));
    EXPECT_EQ(vEvents, (Events{"svc-entry", "failure", "failure"}));
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL,
                                 "task faulty : method object robustness::Throwing_MO threw : handler bug"));
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "task faulty : method object robustness::Throwing_MO threw : "
                                                  "an exception that is not a std::exception"));
}

TEST(TaskFaults, AThrowingTimerKeepsItsPeriodOnTheMonotonicClock)
{
    FaultyTask task;
    ASSERT_TRUE(task.start());
    LogCapture capture("linkhaven.thread.Task");
    CountDownLatch expired(3);
    long lId = -1;
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] {
        lId = task.scheduleTimer(new ThrowingProcessor(expired), nullptr, ACE_Time_Value(0, 1000),
                                 ACE_Time_Value(0, 1000), 0);
    }));
    ASSERT_GE(lId, 0);
    ASSERT_TRUE(expired.wait());
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "task faulty : timer " + std::to_string(lId) +
                                                      " of robustness::ThrowingProcessor threw : timer bug"));
    // Expiry times come from the monotonic clock, not the time of day.
    EXPECT_LE(ThrowingProcessor::s_lClockSkewSec, 1);
}
