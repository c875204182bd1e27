#include <gmock/gmock.h>

#include <thread>

#include "host/core/Assertion.h"
#include "host/core/CachedLLLogger.h"
#include "host/core/Fallible.h"
#include "host/core/LoggingIdLogger.h"
#include "host/core/TraceScope.h"
#include "tests/support/LogCapture.h"

TEST(Logger, LevelNamesParseInAnyCaseAndPrefixesMatchWholeNamesOnly)
{
    const std::pair<const char*, LogLevel> cases[] = {
        {"TRACE", TRACE_LOG_LEVEL}, {"debug", DEBUG_LOG_LEVEL},          {"Info", INFO_LOG_LEVEL},
        {"WARN", WARN_LOG_LEVEL},   {"error", ERROR_LOG_LEVEL},          {"FATAL", FATAL_LOG_LEVEL},
        {"off", log4cplus::OFF_LOG_LEVEL}, {"LOUD", NOT_SET_LOG_LEVEL},  {"", NOT_SET_LOG_LEVEL},
        {"NOTSET", NOT_SET_LOG_LEVEL},     {"10000", NOT_SET_LOG_LEVEL}, {"DEBUG ", NOT_SET_LOG_LEVEL}};
    for (const auto& [szText, level] : cases)
        EXPECT_EQ(parseLogLevelString(szText), level) << '"' << szText << '"';
    const Logger child("linkhaven.test.chain.child");
    EXPECT_TRUE(Logger::prefixExists("linkhaven.test.chain"));
    EXPECT_FALSE(Logger::prefixExists("linkhaven.test.chai") || Logger::prefixExists("linkhaven.test.never"));
}

// A level set through Logger reaches a cached one at its refresh in the fan-out test.
TEST(Logger, ACachedLevelRefreshedSeesALevelSetOnLog4cplusItselfAsAConfigurationFileSetsIt)
{
    CachedLLLogger cached(Logger("linkhaven.test.cached.child"));
    log4cplus::Logger::getInstance("linkhaven.test.cached").setLogLevel(ERROR_LOG_LEVEL);
    cached.refreshLogLevel();
    EXPECT_EQ(cached.getCachedLogLevel(), ERROR_LOG_LEVEL);
    Logger("linkhaven.test.cached").setLogLevel(NOT_SET_LOG_LEVEL);
}

TEST(Logger, TheLoggingIdGoesBesideAnUnchangedMessageAndTraceScopesLogOnlyWhenTraceIsOn)
{
    LoggingIdLogger logger(Logger("linkhaven.test.loggingId"));
    logger.setLoggingId("OAMManager-1");
    LogCapture capture("linkhaven.test.loggingId"); // at TRACE until it ends
    LH_ERROR(logger, "with id");
    // Through a plain Logger reference, as trace scopes and assertion reports write.
    { TraceScope scope(logger, "OAMManager::executeCommand"); }
    Logger(logger).forcedLog(ERROR_LOG_LEVEL, "without id");
    Logger(logger).setLogLevel(DEBUG_LOG_LEVEL);
    { TraceScope scope(logger, "OAMManager::stop"); }
    std::vector<std::string> vLines;
    for (const CapturedLine& line : capture.lines())
        vLines.push_back(line.strMessage + " [" + line.strLoggingId + "]");
    EXPECT_EQ(vLines, (std::vector<std::string>{"with id [OAMManager-1]", "ENTER: OAMManager::executeCommand [OAMManager-1]",
                                                "EXIT: OAMManager::executeCommand [OAMManager-1]", "without id []"}));
}

TEST(Assertion, OnlyAFailedConditionIsLoggedOnItsLoggerWhateverItsLevelAndCapturedFromAnyThread)
{
    Logger logger("linkhaven.test.assert");
    LogCapture defaultCapture("linkhaven.assert"), ownCapture("linkhaven.test.assert");
    logger.setLogLevel(log4cplus::OFF_LOG_LEVEL);
    AssertionCapture assertions;
    EXPECT_TRUE(Assertion(true, "x > 0", __FILE__, __LINE__));
    EXPECT_FALSE(Assertion(false, "m_nameRegex != 0", "/src/oam/channel/ChannelRegexMatch.cpp", 36));
    std::thread([&logger] { Assertion(false, "m_uiNumExecuterLeft > 0", "CmdExecSM.cpp", 12, logger); }).join();
    Fallible<long> lTimerId;
    EXPECT_EQ(lTimerId.value(), 0) << "an invalid value reads as the default, and is reported";

    EXPECT_TRUE(defaultCapture.contains(ERROR_LOG_LEVEL, "Assertion failed: m_nameRegex != 0 (ChannelRegexMatch.cpp:36)"));
    EXPECT_TRUE(ownCapture.contains(ERROR_LOG_LEVEL, "Assertion failed: m_uiNumExecuterLeft > 0 (CmdExecSM.cpp:12)"));
    std::vector<std::string> vReports;
    for (const AssertionReport& report : assertions.reports())
        vReports.push_back(report.strCondition + " " + report.strFile + ":" + std::to_string(report.nLine) + " " + report.strLogger);
    EXPECT_THAT(vReports, testing::ElementsAre("m_nameRegex != 0 /src/oam/channel/ChannelRegexMatch.cpp:36 linkhaven.assert",
                                               "m_uiNumExecuterLeft > 0 CmdExecSM.cpp:12 linkhaven.test.assert", testing::StartsWith("valid() ")));
}
