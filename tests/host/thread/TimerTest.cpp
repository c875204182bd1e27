#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "host/thread/TimeoutProcessor.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"

namespace {
const ACE_Time_Value ONE_MS(0, 1000);

// Notes each expiry, with its thread and data, in the test's fields, then runs its hook; tells of
// its deletion.
class NotingProcessor : public TimeoutProcessor
{
  public:
    NotingProcessor(CountDownLatch& io_expired, CountDownLatch& io_deleted) : m_expired(io_expired), m_deleted(io_deleted) {}
    ~NotingProcessor() override { m_deleted.countDown(); }
    void handleTimeout(const ACE_Time_Value&, void* in_pData) override
    {
        ++s_uiExpiries;
        s_ranOn = std::this_thread::get_id();
        s_pData = in_pData;
        m_expired.countDown();
        if (m_onExpiry)
            m_onExpiry();
    }

    // Task thread only: read them through runOnTaskThread, or once the thread has ended.
    static inline unsigned s_uiExpiries = 0;
    static inline std::thread::id s_ranOn;
    static inline void* s_pData = nullptr;
    std::function<void()> m_onExpiry;
    long m_lOwnTimerId = -1;

  private:
    CountDownLatch& m_expired;
    CountDownLatch& m_deleted;
};

class Timers : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        NotingProcessor::s_uiExpiries = 0;
        ASSERT_TRUE(m_task.start());
    }
    long schedule(NotingProcessor* in_pProcessor, const ACE_Time_Value& in_interval, std::uint64_t in_ulCount)
    {
        long lId = -1;
        EXPECT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] {
            m_taskThread = std::this_thread::get_id();
            lId = m_task.scheduleTimer(in_pProcessor, &m_iData, ACE_Time_Value::zero, in_interval, in_ulCount);
            if (in_pProcessor)
                in_pProcessor->m_lOwnTimerId = lId;
        }));
        return lId;
    }
    unsigned expiries()
    {
        unsigned uiExpiries = 0;
        EXPECT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] { uiExpiries = NotingProcessor::s_uiExpiries; }));
        return uiExpiries;
    }

    // Before the task, which deletes the processors that may still count them down.
    CountDownLatch m_expired{3}, m_deleted{1};
    int m_iData = 0;
    TestReactorTask m_task;
    std::thread::id m_taskThread;
};
} // namespace

TEST_F(Timers, PeriodicTimerFiresOnTheTaskThreadUntilCancelledAndGivesItsDataBack)
{
    const long lId = schedule(new NotingProcessor(m_expired, m_deleted), ONE_MS, 0);
    ASSERT_GE(lId, 0);
    ASSERT_TRUE(m_expired.wait());
    bool bCancelled = false, bCancelledAgain = true;
    void* pData = nullptr;
    ASSERT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] {
        bCancelled = m_task.cancelTimer(lId, &pData);
        bCancelledAgain = m_task.cancelTimer(lId, nullptr);
        EXPECT_EQ(NotingProcessor::s_ranOn, m_taskThread);
        EXPECT_EQ(NotingProcessor::s_pData, &m_iData);
    }));
    EXPECT_TRUE(bCancelled && !bCancelledAgain);
    EXPECT_EQ(pData, &m_iData);
    EXPECT_TRUE(m_deleted.wait()) << "a cancelled timer deletes its processor, so it cannot fire again";
}

TEST_F(Timers, CountedOneShotAndSelfCancelledTimersEndAfterTheirLastExpiry)
{
    ASSERT_GE(schedule(new NotingProcessor(m_expired, m_deleted), ONE_MS, 2), 0);
    ASSERT_TRUE(m_deleted.wait());
    EXPECT_EQ(expiries(), 2u);

    CountDownLatch oneShotDeleted(1), selfCancelledDeleted(1);
    ASSERT_GE(schedule(new NotingProcessor(m_expired, oneShotDeleted), ACE_Time_Value::zero, 0), 0);
    ASSERT_TRUE(oneShotDeleted.wait());
    EXPECT_EQ(expiries(), 3u);

    auto* pSelfCancelling = new NotingProcessor(m_expired, selfCancelledDeleted);
    pSelfCancelling->m_onExpiry = [&] { m_task.cancelTimer(pSelfCancelling->m_lOwnTimerId, nullptr); };
    ASSERT_GE(schedule(pSelfCancelling, ONE_MS, 0), 0);
    ASSERT_TRUE(selfCancelledDeleted.wait());
    EXPECT_EQ(expiries(), 4u);
}

TEST_F(Timers, AnExpiryMayScheduleTheNextTimerWhichMayReuseTheIdentifierOfTheOneThatFired)
{
    CountDownLatch firstDeleted(1), nextExpired(1), nextDeleted(1);
    auto* pFirst = new NotingProcessor(m_expired, firstDeleted);
    pFirst->m_onExpiry = [&] {
        EXPECT_GE(m_task.scheduleTimer(new NotingProcessor(nextExpired, nextDeleted), nullptr, ONE_MS,
                                       ACE_Time_Value::zero, 0),
                  0);
    };
    ASSERT_GE(schedule(pFirst, ACE_Time_Value::zero, 0), 0);
    ASSERT_TRUE(firstDeleted.wait() && nextExpired.wait() && nextDeleted.wait());
    EXPECT_EQ(expiries(), 2u);
}

TEST_F(Timers, TimersEndWithTheTaskThread)
{
    ASSERT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] {
        m_task.scheduleTimer(new NotingProcessor(m_expired, m_deleted), nullptr, ACE_Time_Value(3600), ONE_MS, 0);
    }));
    ASSERT_TRUE(m_task.stop() && m_task.waitUntilDone());
    EXPECT_TRUE(m_deleted.wait());
    EXPECT_EQ(NotingProcessor::s_uiExpiries, 0u);
}

TEST_F(Timers, ATimerWithoutAProcessorOrBeyondTheEndOfTimeIsRefused)
{
    EXPECT_EQ(schedule(nullptr, ONE_MS, 0), -1);
    CountDownLatch unusedExpiry(1), deleted(2);
    long lEndless = 0, lEndlessInterval = 0;
    ASSERT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] {
        lEndless = m_task.scheduleTimer(new NotingProcessor(unusedExpiry, deleted), nullptr, ACE_Time_Value::max_time,
                                        ACE_Time_Value::zero, 0);
        lEndlessInterval = m_task.scheduleTimer(new NotingProcessor(unusedExpiry, deleted), nullptr, ONE_MS,
                                                ACE_Time_Value::max_time, 0);
    }));
    EXPECT_EQ(lEndless, -1);
    EXPECT_EQ(lEndlessInterval, -1);
    EXPECT_TRUE(deleted.wait());
    EXPECT_EQ(expiries(), 0u);
}
