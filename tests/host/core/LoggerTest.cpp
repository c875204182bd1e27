#include <gtest/gtest.h>

#include <log4cplus/spi/loggingevent.h>

#include "host/core/AceCleanupLogger.h"
#include "host/core/CachedLLLogger.h"
#include "host/core/LoggingIdLogger.h"
#include "host/core/TraceScope.h"
#include "tests/support/LogCapture.h"

TEST(Logger, LevelNamesParseInAnyCaseAndPrefixesMatchWholeNamesOnly)
{
    const std::pair<const char*, LogLevel> cases[] = {
        {"TRACE", TRACE_LOG_LEVEL}, {"debug", DEBUG_LOG_LEVEL},      {"Info", INFO_LOG_LEVEL},
        {"WARN", WARN_LOG_LEVEL},   {"error", ERROR_LOG_LEVEL},      {"FATAL", FATAL_LOG_LEVEL},
        {"off", log4cplus::OFF_LOG_LEVEL}, {"LOUD", NOT_SET_LOG_LEVEL}, {"", NOT_SET_LOG_LEVEL},
        {"NOTSET", NOT_SET_LOG_LEVEL}, {"10000", NOT_SET_LOG_LEVEL}, {"DEBUG ", NOT_SET_LOG_LEVEL}};
    for (const auto& [szText, level] : cases)
        EXPECT_EQ(parseLogLevelString(szText), level) << '"' << szText << '"';

    const Logger child("linkhaven.test.chain.child");
    EXPECT_TRUE(Logger::prefixExists("linkhaven.test.chain"));
    EXPECT_FALSE(Logger::prefixExists("linkhaven.test.chai"));
    EXPECT_FALSE(Logger::prefixExists("linkhaven.test.never.made"));
}

TEST(AceCleanupLogger, GivesOneLoggerObjectPerName)
{
    const Logger& first = AceCleanupLogger::get("linkhaven.test.cleanup");
    EXPECT_EQ(&first, &AceCleanupLogger::get("linkhaven.test.cleanup"));
    EXPECT_NE(&first, &AceCleanupLogger::get("linkhaven.test.cleanup.other"));
    EXPECT_EQ(first.getName(), "linkhaven.test.cleanup");
}

TEST(CachedLLLogger, KeepsTheLevelInForceUntilItsOwnerRefreshesIt)
{
    Logger parent("linkhaven.test.cached");
    parent.setLogLevel(INFO_LOG_LEVEL);
    CachedLLLogger cached(Logger("linkhaven.test.cached.child"));
    parent.setLogLevel(DEBUG_LOG_LEVEL);
    EXPECT_FALSE(cached.isEnabledFor(DEBUG_LOG_LEVEL));
    cached.refreshLogLevel();
    EXPECT_TRUE(cached.isEnabledFor(DEBUG_LOG_LEVEL));
    // A level set on log4cplus itself, as a configuration file does, is seen the same way.
    log4cplus::Logger::getInstance("linkhaven.test.cached").setLogLevel(ERROR_LOG_LEVEL);
    cached.refreshLogLevel();
    EXPECT_EQ(cached.getCachedLogLevel(), ERROR_LOG_LEVEL);
    parent.setLogLevel(NOT_SET_LOG_LEVEL);
}

TEST(TraceScope, LogsEntryAndExitAtTraceLevelOnlyWhenTraceIsEnabled)
{
    const Logger logger("linkhaven.test.trace");
    LogCapture capture("linkhaven.test.trace");
    { TraceScope scope(logger, "OAMManager::executeCommand"); }
    Logger(logger).setLogLevel(DEBUG_LOG_LEVEL);
    { TraceScope scope(logger, "OAMManager::stop"); }
    ASSERT_EQ(capture.messages(), (std::vector<std::string>{"ENTER: OAMManager::executeCommand",
                                                            "EXIT: OAMManager::executeCommand"}));
    EXPECT_EQ(capture.lines().front().level, TRACE_LOG_LEVEL);
}

namespace {
// Keeps each line's message and the logging id it carried.
class MdcAppender : public log4cplus::Appender
{
  public:
    ~MdcAppender() override { destructorImpl(); }
    void close() override {}
    std::vector<std::string> m_vLines;

  protected:
    void append(const log4cplus::spi::InternalLoggingEvent& in_event) override
    {
        m_vLines.push_back(in_event.getMessage() + " [" + in_event.getMDC("loggingId") + "]");
    }
};
} // namespace

TEST(LoggingIdLogger, CarriesTheIdBesideAnUnchangedMessageForThatLineOnly)
{
    LoggingIdLogger logger(Logger("linkhaven.test.loggingId"));
    logger.setLoggingId("OAMManager-1");
    auto* pAppender = new MdcAppender();
    log4cplus::SharedAppenderPtr appender(pAppender);
    log4cplus::Logger target = logger.getLog4cplusLogger();
    target.addAppender(appender);
    LH_ERROR(logger, "with id");
    // Through a plain Logger reference, as trace scopes and assertion reports write.
    static_cast<const Logger&>(logger).forcedLog(ERROR_LOG_LEVEL, "through the base");
    Logger(logger).forcedLog(ERROR_LOG_LEVEL, "without id");
    target.removeAppender(appender);
    EXPECT_EQ(pAppender->m_vLines, (std::vector<std::string>{"with id [OAMManager-1]",
                                                             "through the base [OAMManager-1]", "without id []"}));
}
