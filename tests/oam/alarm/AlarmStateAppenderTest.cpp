#include <vector>

#include <gtest/gtest.h>

#include "oam/alarm/AlarmStateAppender.h"
#include "host/core/Logger.h"

using Alarm = AlarmStateAppender;

TEST(AlarmStateAppender, RisesOnlyAndKeepsTheFirstEventOfItsLevel)
{
    // RESET is no level: the appender is reset at that point of a row.
    const LogLevel WARN = WARN_LOG_LEVEL, ERROR = ERROR_LOG_LEVEL, RESET = -2, CUSTOM = WARN_LOG_LEVEL + 5000;
    struct Case { std::vector<LogLevel> levels; const char* szState; int iStored; }; // -1: no event stored
    const Case cases[] = {{{}, "GREEN", -1},          {{WARN, ERROR}, "ORANGE", 1},
                          {{ERROR, WARN}, "ORANGE", 0}, {{WARN, WARN}, "YELLOW", 0},
                          {{FATAL_LOG_LEVEL, RESET, WARN}, "YELLOW", 2},
                          {{INFO_LOG_LEVEL, DEBUG_LOG_LEVEL, CUSTOM}, "GREEN", -1}, {{WARN, CUSTOM}, "YELLOW", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << &c - cases);
        Alarm appender;
        for (std::size_t i = 0; i < c.levels.size(); ++i)
            c.levels[i] == RESET ? appender.resetAlarmState()
                                 : appender.doAppend({"linkhaven.test", c.levels[i], std::to_string(i), __FILE__, 1});
        const auto pEvent = appender.getAlarmEvent();
        EXPECT_STREQ(c.szState, Alarm::alarmStateString(appender.getAlarmState()));
        EXPECT_EQ(c.iStored < 0 ? "" : std::to_string(c.iStored), pEvent.isNull() ? "" : pEvent->getMessage());
    }
    EXPECT_STREQ("???", Alarm::alarmStateString(Alarm::AlarmState(4)));
}
