#include <chrono>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "host/thread/TimeoutProcessor.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"
#include "tests/support/LogCapture.h"

namespace {
using Clock = std::chrono::steady_clock;
const ACE_Time_Value ONE_MS(0, 1000);

// Notes when (by the monotonic clock and by the time it is given), where and with what data each expiry
// ran, then runs its hook; tells of its deletion.
struct NotingProcessor : public TimeoutProcessor
{
    NotingProcessor(CountDownLatch& io_expired, CountDownLatch& io_deleted) : m_expired(io_expired), m_deleted(io_deleted) {}
    ~NotingProcessor() override { m_deleted.countDown(); }
    void handleTimeout(const ACE_Time_Value& in_now, void* in_pData) override
    {
        s_vTimes.push_back(Clock::now());
        s_lClockSkewSec = std::labs(in_now.sec() - std::chrono::duration_cast<std::chrono::seconds>(s_vTimes.back().time_since_epoch()).count());
        s_ranOn = std::this_thread::get_id();
        s_pData = in_pData;
        m_expired.countDown();
        if (m_onExpiry)
            m_onExpiry();
    }

    // Task thread only: read them through runOnTaskThread, or once the thread has ended.
    static inline std::vector<Clock::time_point> s_vTimes;
    static inline std::thread::id s_ranOn;
    static inline void* s_pData = nullptr;
    static inline long s_lClockSkewSec = -1; // between the time given and the monotonic clock
    CountDownLatch &m_expired, &m_deleted;
    std::function<void()> m_onExpiry;
};

class Timers : public ::testing::Test
{
  protected:
    void SetUp() override { NotingProcessor::s_vTimes.clear(); ASSERT_TRUE(m_task.start()); }
    long schedule(NotingProcessor* in_pProcessor, const ACE_Time_Value& in_delay, const ACE_Time_Value& in_interval)
    {
        long lId = -1;
        EXPECT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] {
            m_scheduledAt = Clock::now();
            lId = m_task.scheduleTimer(in_pProcessor, &m_iData, in_delay, in_interval, 0);
        }));
        return lId;
    }

    // Before the task, which deletes the processors that may still count them down.
    CountDownLatch m_expired{5}, m_deleted{1};
    int m_iData = 0;
    TestReactorTask m_task;
    Clock::time_point m_scheduledAt;
};
} // namespace

// Each expiry throws: the task logs it and the timer keeps its period.
TEST_F(Timers, PeriodicTimerFiresAfterItsDelayThenOncePerPeriodOnTheTaskThreadUntilCancelledEvenIfItThrows)
{
    const auto delay = std::chrono::milliseconds(100), period = std::chrono::milliseconds(10);
    LogCapture capture("linkhaven.thread.Task");
    auto* pProcessor = new NotingProcessor(m_expired, m_deleted);
    pProcessor->m_onExpiry = [] { throw std::runtime_error("timer bug"); };
    const long lId = schedule(pProcessor, ACE_Time_Value(0, 100000), ACE_Time_Value(0, 10000));
    ASSERT_GE(lId, 0);
    ASSERT_TRUE(m_expired.wait());
    std::vector<Clock::time_point> times;
    ASSERT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] {
        void* pData = nullptr;
        EXPECT_TRUE(m_task.cancelTimer(lId, &pData));
        EXPECT_EQ(pData, &m_iData);
        EXPECT_FALSE(m_task.cancelTimer(lId, nullptr));
        times = NotingProcessor::s_vTimes;
        EXPECT_EQ(NotingProcessor::s_ranOn, std::this_thread::get_id());
        EXPECT_EQ(NotingProcessor::s_pData, &m_iData);
        EXPECT_LE(NotingProcessor::s_lClockSkewSec, 1) << "the time given is the monotonic clock's, not the time of day";
    }));
    const std::string strThrew = "task test-task : timer " + std::to_string(lId) + " of (anonymous namespace)::NotingProcessor threw : timer bug";
    EXPECT_EQ(capture.messages(ERROR_LOG_LEVEL), std::vector<std::string>(times.size(), strThrew));
    EXPECT_TRUE(m_deleted.wait()) << "a cancelled timer deletes its processor, so it cannot fire again";
    // None before its time (the clock's microseconds may round it down), and once per period after the first.
    for (std::size_t k = 0; k < times.size(); ++k)
        EXPECT_GE(times[k] - m_scheduledAt + std::chrono::milliseconds(1), delay + static_cast<int>(k) * period) << "expiry " << k;
    EXPECT_LT((times.back() - times.front()) / (times.size() - 1), delay / 2) << "spaced by the period, not the delay";
}

TEST_F(Timers, AnExpiryMayScheduleTheNextTimerWhichMayReuseTheIdentifierOfTheOneThatFired)
{
    CountDownLatch nextExpired(1), nextDeleted(1);
    auto* pFirst = new NotingProcessor(m_expired, m_deleted);
    pFirst->m_onExpiry = [&] {
        EXPECT_GE(m_task.scheduleTimer(new NotingProcessor(nextExpired, nextDeleted), nullptr, ONE_MS, ACE_Time_Value::zero, 0), 0);
    };
    ASSERT_GE(schedule(pFirst, ACE_Time_Value::zero, ACE_Time_Value::zero), 0);
    ASSERT_TRUE(m_deleted.wait() && nextExpired.wait() && nextDeleted.wait());
    ASSERT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [] { EXPECT_EQ(NotingProcessor::s_vTimes.size(), 2u); }));
}

TEST_F(Timers, ATimerFiresWhileMethodObjectsKeepTheQueueFull)
{
    // Each queues another until the timer has fired: a task that drained its queue before looking
    // at its timers would never fire it.
    std::function<void()> requeue = [&] {
        if (NotingProcessor::s_vTimes.empty())
            m_task.enqueue(new RunOnTaskThread_MO(requeue, {}), "test");
    };
    CountDownLatch expired(1), deleted(1);
    ASSERT_GE(schedule(new NotingProcessor(expired, deleted), ONE_MS, ACE_Time_Value::zero), 0);
    for (int i = 0; i < 2; ++i)
        m_task.enqueue(new RunOnTaskThread_MO(requeue, {}), "test");
    EXPECT_TRUE(expired.wait());
    EXPECT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [] {})) << "the last requeue has run";
}

TEST_F(Timers, RefusedTimersAndThoseLeftWhenTheTaskEndsDeleteTheirProcessorUnrun)
{
    CountDownLatch deleted(3);
    EXPECT_EQ(schedule(nullptr, ONE_MS, ACE_Time_Value::zero), -1);
    // Beyond the end of time the timer queue's clock would wrap around and fire at once.
    EXPECT_EQ(schedule(new NotingProcessor(m_expired, deleted), ACE_Time_Value::max_time, ACE_Time_Value::zero), -1);
    EXPECT_EQ(schedule(new NotingProcessor(m_expired, deleted), ONE_MS, ACE_Time_Value::max_time), -1);
    ASSERT_GE(schedule(new NotingProcessor(m_expired, deleted), ACE_Time_Value(3600), ONE_MS), 0);
    ASSERT_TRUE(m_task.stop() && m_task.waitUntilDone());
    EXPECT_TRUE(deleted.wait());
    EXPECT_TRUE(NotingProcessor::s_vTimes.empty());
}
