#include <gtest/gtest.h>

#include "apps/gateway/ChannelCommandExecuter.h"
#include "apps/gateway/PstnChannelComponent.h"
#include "apps/gateway/SpanAlarms.h"
#include "host/infra/AlarmRegistry.h"
#include "tests/oam/command/CommandLine.h"

namespace {
Alarm::State spanAlarmState(unsigned in_uiSpan)
{
    AlarmRegistry::AlarmVector vAlarms;
    AlarmRegistry::getInstance().getAllAlarms(vAlarms);
    for (const auto& pAlarm : vAlarms)
        if (pAlarm->getName() == SpanAlarms::alarmName(in_uiSpan))
            return pAlarm->getState();
    ADD_FAILURE() << "no alarm for span " << in_uiSpan;
    return Alarm::CLEARED_STATE;
}
} // namespace

// One command after the other on the same channels: each row sees what the rows before it did.
TEST(ChannelCommandExecuter, CommandsChangeAndListTheChannelsAndKeepTheSpanAlarmsInStep)
{
    PstnChannelComponent channels(2, 2);
    ChannelCommandExecuter executer(channels, 2);
    ASSERT_TRUE(channels.start() && channels.waitForStart() && executer.start() && executer.waitForStart());
    const std::string strSpan1Alarm = SpanAlarms::alarmName(1);
    struct Case { std::string strLine; bool bSuccess; std::string strText; Alarm::State span1Alarm; };
    const Case cases[] = {
        {"list-channels", true, "span1-ch1 in-service\nspan1-ch2 in-service\nspan2-ch1 in-service\nspan2-ch2 in-service", Alarm::CLEARED_STATE},
        {"put-out-of-service ^span1-", true, "2 channels match ^span1- : 2 changed to out-of-service\nAlarm raised : " + strSpan1Alarm, Alarm::RAISED_STATE},
        {"oos span1-ch1", true, "1 channel matches span1-ch1 : 0 changed to out-of-service", Alarm::RAISED_STATE},
        {"quiesce span1-ch2$", true, "1 channel matches span1-ch2$ : 1 changed to quiesced\nAlarm cleared : " + strSpan1Alarm, Alarm::CLEARED_STATE},
        {"list-channels ^span1", true, "span1-ch1 out-of-service\nspan1-ch2 quiesced", Alarm::CLEARED_STATE},
        {"put-out-of-service ch2", true, "2 channels match ch2 : 2 changed to out-of-service\nAlarm raised : " + strSpan1Alarm, Alarm::RAISED_STATE},
        {"in-SERVICE 1-ch1", true, "1 channel matches 1-ch1 : 1 changed to in-service\nAlarm cleared : " + strSpan1Alarm, Alarm::CLEARED_STATE},
        {"put-in-service span9", false, "No channel matches span9", Alarm::CLEARED_STATE},
        {"list-channels span9", false, "No channel matches span9", Alarm::CLEARED_STATE},
        {"list-channels SPAN1", false, "No channel matches SPAN1", Alarm::CLEARED_STATE}, // patterns keep their case
        {"put-in-service (", false, "Invalid channel pattern : (. Incorrect Usage\nusage : put-in-service channel-pattern", Alarm::CLEARED_STATE},
        {"quiesce", false, "Incorrect Usage\nusage : quiesce channel-pattern", Alarm::CLEARED_STATE},
        {"list-channels a b", false, "Incorrect Usage\nusage : list-channels [channel-pattern]", Alarm::CLEARED_STATE},
        {"reboot", false, "Command not supported. Supported commands :\nquiesce\nput-out-of-service\nput-in-service\nlist-channels", Alarm::CLEARED_STATE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strLine);
        SoapOAM__OAMCommandExecResult result;
        ASSERT_TRUE(executer.executeCommand(commandLine(c.strLine), result, ACE_Time_Value(60)));
        EXPECT_EQ(result.m_bExecSuccess, c.bSuccess);
        EXPECT_EQ(result.m_strStatusText, c.strText);
        EXPECT_EQ(spanAlarmState(1), c.span1Alarm);
        EXPECT_EQ(spanAlarmState(2), Alarm::CLEARED_STATE);
    }
    executer.stop();
    channels.stop();
    EXPECT_TRUE(executer.waitUntilDone() && channels.waitUntilDone());
}
