#include <gtest/gtest.h>

#include <log4cplus/mdc.h>
#include <log4cplus/spi/loggingevent.h>

#include "host/core/AceCleanupLogger.h"
#include "host/core/CachedLLLogger.h"
#include "host/core/LoggingIdLogger.h"
#include "host/core/ObjectWithLogger.h"
#include "host/core/TraceScope.h"
#include "tests/support/LogCapture.h"

TEST(LogLevelParsing, NamesInAnyCaseGiveLog4cplusLevelsAndAnythingElseGivesNotSet)
{
    EXPECT_EQ(parseLogLevelString("TRACE"), TRACE_LOG_LEVEL);
    EXPECT_EQ(parseLogLevelString("debug"), DEBUG_LOG_LEVEL);
    EXPECT_EQ(parseLogLevelString("Info"), INFO_LOG_LEVEL);
    EXPECT_EQ(parseLogLevelString("WARN"), WARN_LOG_LEVEL);
    EXPECT_EQ(parseLogLevelString("error"), ERROR_LOG_LEVEL);
    EXPECT_EQ(parseLogLevelString("FATAL"), FATAL_LOG_LEVEL);
    EXPECT_EQ(parseLogLevelString("off"), log4cplus::OFF_LOG_LEVEL);
    for (const char* szText : {"LOUD", "", "NOTSET", "10000", "DEBUG "})
        EXPECT_EQ(parseLogLevelString(szText), NOT_SET_LOG_LEVEL) << szText;
}

TEST(Logger, InheritsTheLevelInForceAndKnowsOnlyNamesTheHierarchyHolds)
{
    Logger parent("linkhaven.test.chain");
    const Logger child("linkhaven.test.chain.child");
    parent.setLogLevel(WARN_LOG_LEVEL);
    EXPECT_EQ(child.getLogLevel(), NOT_SET_LOG_LEVEL);
    EXPECT_EQ(child.getChainedLogLevel(), WARN_LOG_LEVEL);
    parent.setLogLevel(NOT_SET_LOG_LEVEL);
    EXPECT_EQ(child.getChainedLogLevel(), Logger().getChainedLogLevel());

    EXPECT_TRUE(Logger::prefixExists("linkhaven.test.chain.child"));
    EXPECT_TRUE(Logger::prefixExists("linkhaven.test.chain"));
    EXPECT_FALSE(Logger::prefixExists("linkhaven.test.never.made"));
    EXPECT_FALSE(Logger::prefixExists("linkhaven.test.chai"));
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
    EXPECT_FALSE(cached.isEnabledFor(DEBUG_LOG_LEVEL));

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
    {
        LogCapture capture("linkhaven.test.trace");
        { TraceScope scope(logger, "OAMManager::executeCommand"); }
        EXPECT_EQ(capture.messages(),
                  (std::vector<std::string>{"ENTER: OAMManager::executeCommand", "EXIT: OAMManager::executeCommand"}));
        EXPECT_EQ(capture.lines().front().level, TRACE_LOG_LEVEL);
    }
    LogCapture capture("linkhaven.test.trace");
    Logger(logger).setLogLevel(DEBUG_LOG_LEVEL);
    { TraceScope scope(logger, "OAMManager::executeCommand"); }
    EXPECT_TRUE(capture.messages().empty());
}

namespace {
// Keeps the logging id that each event carried.
class MdcAppender : public log4cplus::Appender
{
  public:
    ~MdcAppender() override { destructorImpl(); }
    void close() override {}
    std::vector<std::string> m_vIds;
    std::vector<std::string> m_vMessages;

  protected:
    void append(const log4cplus::spi::InternalLoggingEvent& in_event) override
    {
        m_vIds.push_back(in_event.getMDC("loggingId"));
        m_vMessages.push_back(in_event.getMessage());
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
    const Logger& asLogger = logger;
    asLogger.forcedLog(ERROR_LOG_LEVEL, "through the base");
    Logger(logger).forcedLog(ERROR_LOG_LEVEL, "without id");
    target.removeAppender(appender);

    EXPECT_EQ(pAppender->m_vMessages, (std::vector<std::string>{"with id", "through the base", "without id"}));
    EXPECT_EQ(pAppender->m_vIds, (std::vector<std::string>{"OAMManager-1", "OAMManager-1", ""}));
}

TEST(ObjectWithLoggerImpl, GivesItsObjectALoggerThatKeepsTheObjectsId)
{
    ObjectWithLoggerImpl object(Logger("linkhaven.oam.manager"));
    object.getLogger().setLoggingId("OAMManager");
    const ObjectWithLogger<LoggingIdLogger>& asInterface = object;
    EXPECT_EQ(asInterface.getLogger().getName(), "linkhaven.oam.manager");
    EXPECT_EQ(asInterface.getLogger().getLoggingId(), "OAMManager");
}
