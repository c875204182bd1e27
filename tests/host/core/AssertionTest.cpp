#include <gtest/gtest.h>

#include <thread>

#include "host/core/Assertion.h"
#include "host/core/Fallible.h"
#include "tests/support/LogCapture.h"

TEST(Assertion, AFailedConditionIsLoggedWithItsTextFileAndLineAndTheCallerGoesOn)
{
    LogCapture capture("linkhaven.assert");
    AssertionCapture assertions;
    const bool bHeld = Assertion(false, "m_nameRegex != 0", "/src/oam/channel/ChannelRegexMatch.cpp", 36);

    EXPECT_FALSE(bHeld);
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "Assertion failed: m_nameRegex != 0 (ChannelRegexMatch.cpp:36)"));
    ASSERT_EQ(assertions.reports().size(), 1u);
    EXPECT_EQ(assertions.reports()[0].strFile, "/src/oam/channel/ChannelRegexMatch.cpp");
    EXPECT_EQ(assertions.reports()[0].nLine, 36);
    EXPECT_EQ(assertions.reports()[0].strLogger, "linkhaven.assert");
}

TEST(Assertion, AHeldConditionReportsNothing)
{
    LogCapture capture("linkhaven.assert");
    AssertionCapture assertions;
    EXPECT_TRUE(Assertion(true, "x > 0", __FILE__, __LINE__));
    EXPECT_TRUE(capture.lines().empty());
    EXPECT_TRUE(assertions.reports().empty());
}

TEST(Assertion, IsReportedOnTheGivenLoggerEvenWhenItsLevelIsOff)
{
    Logger logger("linkhaven.oam.CmdExecSM");
    LogCapture capture("linkhaven.oam.CmdExecSM");
    logger.setLogLevel(log4cplus::OFF_LOG_LEVEL);
    AssertionCapture assertions;
    Assertion(false, "m_uiNumExecuterLeft > 0", "CmdExecSM.cpp", 12, logger);

    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "Assertion failed: m_uiNumExecuterLeft > 0 (CmdExecSM.cpp:12)"));
    EXPECT_EQ(assertions.reports().at(0).strLogger, "linkhaven.oam.CmdExecSM");
}

TEST(Assertion, ACaptureSeesReportsMadeOnOtherThreads)
{
    AssertionCapture assertions;
    std::thread other([] { Assertion(false, "! pGetOMSM.isNull()", "GetOMSM.cpp", 3); });
    other.join();
    EXPECT_EQ(assertions.conditions(), StringVector{"! pGetOMSM.isNull()"});
}

TEST(Fallible, ReadingAnInvalidValueIsReportedAndGivesTheDefault)
{
    AssertionCapture assertions;
    Fallible<long> lTimerId;
    EXPECT_FALSE(lTimerId.valid());
    EXPECT_EQ(lTimerId.value(), 0);
    EXPECT_EQ(assertions.conditions(), StringVector{"valid()"});

    lTimerId = 7L;
    EXPECT_TRUE(lTimerId.valid());
    EXPECT_EQ(static_cast<long>(lTimerId), 7);
    lTimerId.invalidate();
    EXPECT_FALSE(lTimerId.valid());
    EXPECT_EQ(assertions.conditions().size(), 1u);
}
