#include <gtest/gtest.h>

#include <thread>

#include "host/core/Assertion.h"
#include "host/core/Fallible.h"
#include "tests/support/LogCapture.h"

TEST(Assertion, OnlyAFailedConditionIsLoggedOnItsLoggerWhateverItsLevelAndCapturedFromAnyThread)
{
    Logger logger("linkhaven.test.assert");
    LogCapture defaultCapture("linkhaven.assert"), ownCapture("linkhaven.test.assert");
    logger.setLogLevel(log4cplus::OFF_LOG_LEVEL);
    AssertionCapture assertions;
    EXPECT_TRUE(Assertion(true, "x > 0", __FILE__, __LINE__));
    EXPECT_FALSE(Assertion(false, "m_nameRegex != 0", "/src/oam/channel/ChannelRegexMatch.cpp", 36));
    std::thread([&logger] { Assertion(false, "m_uiNumExecuterLeft > 0", "CmdExecSM.cpp", 12, logger); }).join();

    EXPECT_TRUE(defaultCapture.contains(ERROR_LOG_LEVEL, "Assertion failed: m_nameRegex != 0 (ChannelRegexMatch.cpp:36)"));
    EXPECT_TRUE(ownCapture.contains(ERROR_LOG_LEVEL, "Assertion failed: m_uiNumExecuterLeft > 0 (CmdExecSM.cpp:12)"));
    std::vector<std::string> vReports;
    for (const AssertionReport& report : assertions.reports())
        vReports.push_back(report.strCondition + " " + report.strFile + ":" + std::to_string(report.nLine) + " " +
                           report.strLogger);
    EXPECT_EQ(vReports, (std::vector<std::string>{
                            "m_nameRegex != 0 /src/oam/channel/ChannelRegexMatch.cpp:36 linkhaven.assert",
                            "m_uiNumExecuterLeft > 0 CmdExecSM.cpp:12 linkhaven.test.assert"}));
}

TEST(Fallible, ReadingAnInvalidValueIsReportedAndGivesTheDefault)
{
    AssertionCapture assertions;
    Fallible<long> lTimerId;
    EXPECT_EQ(lTimerId.value(), 0);
    lTimerId = 7L;
    EXPECT_EQ(static_cast<long>(lTimerId), 7);
    lTimerId.invalidate();
    EXPECT_FALSE(lTimerId.valid());
    EXPECT_EQ(assertions.conditions(), StringVector{"valid()"});
}
