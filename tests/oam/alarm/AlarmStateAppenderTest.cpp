#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "oam/alarm/AlarmStateAppender.h"
#include "oam/alarm/InstallAlarmStateAppender.h"
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

// Under the thread sanitizer this also shows that reads and resets do not race with appends.
TEST(AlarmStateAppender, InstalledOnceOnEachLoggerItTakesTheGatewaysLinesFromAnyThread)
{
    auto* pAppender = new Alarm();
    const log4cplus::SharedAppenderPtr pShared(pAppender);
    installAlarmStateAppender(pShared);
    pAppender->setName("oam - AlarmStateAppender");
    installAlarmStateAppender(pShared);
    installAlarmStateAppender(pShared);
    for (const char* szLogger : {"linkhaven", "admin"}) {
        const log4cplus::SharedAppenderPtrList appenders = log4cplus::Logger::getInstance(szLogger).getAllAppenders();
        EXPECT_EQ(1, std::count(appenders.begin(), appenders.end(), pShared)) << szLogger;
    }
    const Logger logger("linkhaven.test.alarmLoad");
    std::atomic<int> iLoggersLeft{4};
    std::vector<std::thread> loggers;
    for (int iThread = 0; iThread < 4; ++iThread) {
        loggers.emplace_back([&] {
            for (int i = 0; i < 900; ++i) // warn, error and fatal in turn, each named by the state it raises
                logger.forcedLog(WARN_LOG_LEVEL + i % 3 * 10000, Alarm::alarmStateString(Alarm::AlarmState(1 + i % 3)));
            --iLoggersLeft;
        });
    }
    [&] {
        for (unsigned uiRead = 0; iLoggersLeft > 0 || uiRead < 100; ++uiRead) {
            // Resets come in runs, so that the reads' locking does not order them with the appends.
            if (uiRead % 8 < 4) {
                pAppender->resetAlarmState();
                continue;
            }
            const Alarm::AlarmSnapshot snapshot = pAppender->getAlarmSnapshot();
            ASSERT_EQ(snapshot.state == Alarm::GREEN ? "" : Alarm::alarmStateString(snapshot.state), snapshot.strMessage);
        }
    }();
    for (std::thread& thread : loggers)
        thread.join();
    pAppender->resetAlarmState();
    LH_WARN(Logger("linkhaven.oam.manager"), "no OM reporter registered");
    const Alarm::AlarmSnapshot last = pAppender->getAlarmSnapshot();
    EXPECT_EQ("YELLOW linkhaven.oam.manager: no OM reporter registered",
              Alarm::alarmStateString(last.state) + (" " + last.strLoggerName) + ": " + last.strMessage);
    for (const char* szLogger : {"linkhaven", "admin"})
        log4cplus::Logger::getInstance(szLogger).removeAppender(pShared);
}
