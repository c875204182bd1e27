#include <gmock/gmock.h>

#include "tests/oam/manager/StartedManager.h"

namespace {
AlarmRegistry& registry = AlarmRegistry::getInstance();

void removeAllAlarms()
{
    AlarmRegistry::AlarmVector vAlarms;
    registry.getAllAlarms(vAlarms);
    for (const auto& pAlarm : vAlarms)
        registry.removeAlarm(*pAlarm);
}
} // namespace

// "early" is raised before the manager listens to the registry.
class AlarmCommandsTest : public StartedManagerTest
{
  protected:
    void SetUp() override { registry.setAlarmState(*m_pEarly, Alarm::RAISED_STATE); StartedManagerTest::SetUp(); }
    void TearDown() override { StartedManagerTest::TearDown(); removeAllAlarms(); }

    const std::shared_ptr<Alarm> m_pEarly = registry.defineAlarm("early", "raised before the manager");
};

TEST_F(AlarmCommandsTest, ListRaisedAlarmsAndEveryAlarmTheRegistryKnows)
{
    const std::shared_ptr<Alarm> pB = registry.defineAlarm("b", "bee"), pC = registry.defineAlarm("c", "sea");
    // The registry's change, then what "get-alarms" lists in either order of the table.
    const std::tuple<Alarm*, Alarm::State, std::string, std::string> steps[] = {
        {pB.get(), Alarm::RAISED_STATE, "b : ALARM_ON\n", ""},
        {m_pEarly.get(), Alarm::CLEARED_STATE, "b : ALARM_ON\n", ""},
        {pC.get(), Alarm::RAISED_STATE, "b : ALARM_ON\nc : ALARM_ON\n", "c : ALARM_ON\nb : ALARM_ON\n"},
        {pB.get(), Alarm::CLEARED_STATE, "c : ALARM_ON\n", ""},
        {pC.get(), Alarm::CLEARED_STATE, "NO ALARM", ""},
    };
    EXPECT_EQ(execute("get-alarms").m_strStatusText, "NO ALARM");
    for (const auto& [pAlarm, state, strAlarms, strAlarmsInOtherOrder] : steps) {
        SCOPED_TRACE(pAlarm->getName() + " " + Alarm::getStateString(state));
        registry.setAlarmState(*pAlarm, state);
        const SoapOAM__OAMCommandExecResult result = execute("get-alarms");
        EXPECT_TRUE(result.m_bExecSuccess);
        EXPECT_THAT(result.m_strStatusText, ::testing::AnyOf(strAlarms, strAlarmsInOtherOrder));
    }
    registry.setAlarmState(*pC, Alarm::RAISED_STATE);
    EXPECT_EQ(execute("get-all-alarms").m_strStatusText, "ALARM 0 : early [CLEARED] raised before the manager\n"
                                                         "ALARM 1 : b [CLEARED] bee\nALARM 2 : c [RAISED] sea\n");
    removeAllAlarms();
    EXPECT_EQ(execute("get-all-alarms").m_strStatusText, "NO ALARM DEFINED");
    EXPECT_EQ(execute("get-alarms now").m_strStatusText, "Incorrect Usage\nusage : get-alarms");
}
