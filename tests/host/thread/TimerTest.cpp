#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "host/thread/TimeoutProcessor.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"

namespace {
const ACE_Time_Value ONE_MS(0, 1000);

// Counts its expiries (on the task thread) and tells the test of them and of its deletion.
class CountingProcessor : public TimeoutProcessor
{
  public:
    CountingProcessor(CountDownLatch& io_expired, CountDownLatch& io_deleted) : m_expired(io_expired), m_deleted(io_deleted) {}
    ~CountingProcessor() override { m_deleted.countDown(); }
    void handleTimeout(const ACE_Time_Value&, void* in_pData) override
    {
        ++s_uiExpiries;
        s_ranOn = std::this_thread::get_id();
        s_pData = in_pData;
        m_expired.countDown();
        if (m_cancelOwnTimerOn)
            m_cancelOwnTimerOn->cancelTimer(m_lOwnTimerId, nullptr);
    }

    static unsigned s_uiExpiries;
    static std::thread::id s_ranOn;
    static void* s_pData;
    TaskWithTimersImpl* m_cancelOwnTimerOn = nullptr;
    long m_lOwnTimerId = -1;

  private:
    CountDownLatch& m_expired;
    CountDownLatch& m_deleted;
};
unsigned CountingProcessor::s_uiExpiries;
std::thread::id CountingProcessor::s_ranOn;
void* CountingProcessor::s_pData;

class Timers : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CountingProcessor::s_uiExpiries = 0;
        ASSERT_TRUE(m_task.start());
        ASSERT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [this] { m_taskThread = std::this_thread::get_id(); }));
    }
    long schedule(TimeoutProcessor* in_pProcessor, const ACE_Time_Value& in_interval, std::uint64_t in_ulCount)
    {
        long lId = -1;
        EXPECT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] {
            lId = m_task.scheduleTimer(in_pProcessor, &m_iData, ACE_Time_Value::zero, in_interval, in_ulCount);
        }));
        return lId;
    }
    unsigned expiries()
    {
        unsigned uiExpiries = 0;
        EXPECT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] { uiExpiries = CountingProcessor::s_uiExpiries; }));
        return uiExpiries;
    }

    // Before the task, which deletes the processors that may still count it down.
    CountDownLatch m_deleted{1};
    int m_iData = 0;
    TestReactorTask m_task;
    std::thread::id m_taskThread;
};
} // namespace

TEST_F(Timers, PeriodicTimerFiresOnTheTaskThreadUntilCancelledAndGivesItsDataBack)
{
    CountDownLatch expired(3);
    const long lId = schedule(new CountingProcessor(expired, m_deleted), ONE_MS, 0);
    ASSERT_GE(lId, 0);
    ASSERT_TRUE(expired.wait());

    bool bCancelled = false, bCancelledAgain = true;
    void* pData = nullptr;
    ASSERT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] {
        bCancelled = m_task.cancelTimer(lId, &pData);
        bCancelledAgain = m_task.cancelTimer(lId, nullptr);
    }));
    EXPECT_TRUE(bCancelled);
    EXPECT_FALSE(bCancelledAgain);
    EXPECT_EQ(pData, &m_iData);
    EXPECT_TRUE(m_deleted.wait()) << "a cancelled timer deletes its processor, so it cannot fire again";
    EXPECT_EQ(CountingProcessor::s_ranOn, m_taskThread);
    EXPECT_EQ(CountingProcessor::s_pData, &m_iData);
}

TEST_F(Timers, CountedAndOneShotTimersEndAfterTheirLastExpiry)
{
    CountDownLatch expired(2);
    ASSERT_GE(schedule(new CountingProcessor(expired, m_deleted), ONE_MS, 2), 0);
    ASSERT_TRUE(m_deleted.wait());
    EXPECT_EQ(expiries(), 2u);

    CountDownLatch deletedOneShot(1);
    ASSERT_GE(schedule(new CountingProcessor(expired, deletedOneShot), ACE_Time_Value::zero, 0), 0);
    ASSERT_TRUE(deletedOneShot.wait());
    EXPECT_EQ(expiries(), 3u);
}

TEST_F(Timers, AProcessorMayCancelItsOwnTimer)
{
    CountDownLatch expired(1);
    auto* pProcessor = new CountingProcessor(expired, m_deleted);
    pProcessor->m_cancelOwnTimerOn = &m_task;
    ASSERT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] {
        pProcessor->m_lOwnTimerId = m_task.scheduleTimer(pProcessor, nullptr, ACE_Time_Value::zero, ONE_MS, 0);
    }));
    ASSERT_TRUE(m_deleted.wait());
    EXPECT_EQ(expiries(), 1u);
}

TEST_F(Timers, TimersEndWithTheTaskThread)
{
    CountDownLatch expired(1);
    ASSERT_TRUE(runOnTaskThread(m_task.getActivationQueue(), [&] {
        m_task.scheduleTimer(new CountingProcessor(expired, m_deleted), nullptr, ACE_Time_Value(3600), ONE_MS, 0);
    }));
    EXPECT_EQ(schedule(nullptr, ONE_MS, 0), -1);
    ASSERT_TRUE(m_task.stop() && m_task.waitUntilDone());
    EXPECT_TRUE(m_deleted.wait());
    EXPECT_EQ(CountingProcessor::s_uiExpiries, 0u);
}
