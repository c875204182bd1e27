#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <thread>

#include "host/infra/AlarmRegistry.h"

namespace {
// Keeps what it was told, as "<identifier>=<state>". Told under the registry's lock: read it once
// the threads that change alarms have been joined.
struct AlarmRegistryTest : public ::testing::Test, public AlarmRegistry::Observer
{
    void SetUp() override { m_registry.addObserver(this); }
    void TearDown() override
    {
        m_registry.removeObserver(this);
        m_registry.removeAlarm(*m_pCpu);
        m_registry.removeAlarm(*m_pLink);
    }
    void newAlarmState(const Alarm& in_alarm) override
    {
        std::ostringstream text;
        in_alarm.writeIdentifier(text);
        m_vNotices.push_back(text.str() + "=" + std::to_string(in_alarm.getState()));
    }

    AlarmRegistry& m_registry = AlarmRegistry::getInstance();
    const std::shared_ptr<Alarm> m_pCpu = m_registry.defineAlarm("test.cpu", "test.cpu description");
    const std::shared_ptr<Alarm> m_pLink = m_registry.defineAlarm("test.link", "test.link description");
    std::vector<std::string> m_vNotices;
};
} // namespace

TEST_F(AlarmRegistryTest, ObserversHearEachChangeOfStateAndARaisedAlarmIsClearedBeforeItGoes)
{
    EXPECT_EQ(m_registry.defineAlarm("test.cpu", "another description"), m_pCpu);
    EXPECT_TRUE(m_registry.setAlarmState(*m_pCpu, Alarm::RAISED_STATE));
    EXPECT_FALSE(m_registry.setAlarmState(*m_pCpu, Alarm::RAISED_STATE));
    EXPECT_TRUE(m_registry.setAlarmState(*m_pLink, Alarm::RAISED_STATE));
    EXPECT_TRUE(m_registry.setAlarmState(*m_pCpu, Alarm::CLEARED_STATE));
    EXPECT_TRUE(m_registry.removeAlarm(*m_pLink));
    EXPECT_FALSE(m_registry.removeAlarm(*m_pLink) || m_registry.setAlarmState(*m_pLink, Alarm::RAISED_STATE));
    m_registry.removeObserver(this);
    m_registry.setAlarmState(*m_pCpu, Alarm::RAISED_STATE);
    EXPECT_EQ(m_vNotices, (std::vector<std::string>{"test.cpu=1", "test.link=1", "test.cpu=0", "test.link=0"}));
}

TEST_F(AlarmRegistryTest, ChangesFromManyThreadsReachObserversInTheOrderTheyHappened)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([this, t] {
            for (int i = 0; i < 200; ++i)
                m_registry.setAlarmState(t % 2 == 0 ? *m_pCpu : *m_pLink, (i + t) % 3 == 0 ? Alarm::RAISED_STATE : Alarm::CLEARED_STATE);
        });
    for (std::thread& thread : threads)
        thread.join();
    // Each alarm's notices alternate, and the last one is the state it ended in.
    std::map<std::string, std::string> lastNotice;
    for (const std::string& strNotice : m_vNotices) {
        const std::string strName = strNotice.substr(0, strNotice.find('='));
        EXPECT_NE(lastNotice[strName], strNotice);
        lastNotice[strName] = strNotice;
    }
    EXPECT_EQ(lastNotice["test.cpu"], "test.cpu=" + std::to_string(m_pCpu->getState()));
    EXPECT_EQ(lastNotice["test.link"], "test.link=" + std::to_string(m_pLink->getState()));
}
