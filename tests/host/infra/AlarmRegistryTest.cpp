#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "host/infra/AlarmRegistry.h"

namespace {
// Keeps what it was told, as "<identifier>=<state>".
class RecordingObserver : public AlarmRegistry::Observer
{
  public:
    void newAlarmState(const Alarm& in_alarm) override
    {
        std::ostringstream text;
        in_alarm.writeIdentifier(text);
        text << "=" << in_alarm.getState();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_vNotices.push_back(text.str());
    }
    std::vector<std::string> notices() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_vNotices;
    }

  private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_vNotices;
};

class AlarmRegistryTest : public ::testing::Test
{
  protected:
    void SetUp() override { m_registry.addObserver(&m_observer); }
    void TearDown() override
    {
        m_registry.removeObserver(&m_observer);
        for (const std::shared_ptr<Alarm>& pAlarm : m_vDefined)
            m_registry.removeAlarm(*pAlarm);
    }
    std::shared_ptr<Alarm> define(const std::string& in_strName)
    {
        m_vDefined.push_back(m_registry.defineAlarm(in_strName, in_strName + " description"));
        return m_vDefined.back();
    }

    AlarmRegistry& m_registry = AlarmRegistry::getInstance();
    RecordingObserver m_observer;
    std::vector<std::shared_ptr<Alarm>> m_vDefined;
};
} // namespace

TEST_F(AlarmRegistryTest, ObserversHearEachChangeOfStateAndARaisedAlarmIsClearedBeforeItGoes)
{
    const std::shared_ptr<Alarm> pCpu = define("test.cpu");
    const std::shared_ptr<Alarm> pLink = define("test.link");
    EXPECT_EQ(m_registry.defineAlarm("test.cpu", "another description"), pCpu);
    EXPECT_TRUE(m_registry.setAlarmState(*pCpu, Alarm::RAISED_STATE));
    EXPECT_FALSE(m_registry.setAlarmState(*pCpu, Alarm::RAISED_STATE));
    EXPECT_TRUE(m_registry.setAlarmState(*pLink, Alarm::RAISED_STATE));
    EXPECT_TRUE(m_registry.setAlarmState(*pCpu, Alarm::CLEARED_STATE));
    AlarmRegistry::AlarmVector alarms;
    m_registry.getAllAlarms(alarms);
    std::ostringstream printed;
    for (const std::shared_ptr<const Alarm>& pAlarm : alarms)
        printed << *pAlarm << "\n";
    EXPECT_EQ(printed.str(), "test.cpu [CLEARED] test.cpu description\ntest.link [RAISED] test.link description\n");

    EXPECT_TRUE(m_registry.removeAlarm(*pLink));
    EXPECT_FALSE(m_registry.removeAlarm(*pLink));
    EXPECT_FALSE(m_registry.setAlarmState(*pLink, Alarm::RAISED_STATE));
    m_registry.removeObserver(&m_observer);
    m_registry.setAlarmState(*pCpu, Alarm::RAISED_STATE);
    EXPECT_EQ(m_observer.notices(), (std::vector<std::string>{"test.cpu=1", "test.link=1", "test.cpu=0", "test.link=0"}));
}

TEST_F(AlarmRegistryTest, ChangesFromManyThreadsReachObserversInTheOrderTheyHappened)
{
    const std::shared_ptr<Alarm> pA = define("test.a");
    const std::shared_ptr<Alarm> pB = define("test.b");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([this, t, &pA, &pB] {
            for (int i = 0; i < 200; ++i)
                m_registry.setAlarmState(t % 2 == 0 ? *pA : *pB, (i + t) % 3 == 0 ? Alarm::RAISED_STATE : Alarm::CLEARED_STATE);
        });
    for (std::thread& thread : threads)
        thread.join();

    // Each alarm's notices alternate, and the last one is the state it ended in.
    std::map<std::string, std::string> lastNotice;
    for (const std::string& strNotice : m_observer.notices()) {
        const std::string strName = strNotice.substr(0, strNotice.find('='));
        EXPECT_NE(lastNotice[strName], strNotice);
        lastNotice[strName] = strNotice;
    }
    EXPECT_EQ(lastNotice["test.a"], "test.a=" + std::to_string(pA->getState()));
    EXPECT_EQ(lastNotice["test.b"], "test.b=" + std::to_string(pB->getState()));
}
