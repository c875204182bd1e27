#include <gtest/gtest.h>

#include <string>

#include "host/core/Assertion.h"
#include "oam/channel/ChannelRegexMatch.h"
#include "tests/support/LogCapture.h"

using ChannelOpType = ObjectWithChannelOps::ChannelOpType;

namespace {
// The parsed value, or -1 for an empty result.
int parsed(const char* in_szText)
{
    const Fallible<ChannelOpType> result = parseChannelOpTypeString(in_szText);
    return result.valid() ? static_cast<int>(result.value()) : -1;
}
} // namespace

TEST(ChannelOpTypeParsing, FirstLetterAsWrittenRestWithoutCase)
{
    EXPECT_EQ(parsed("is"), ObjectWithChannelOps::PUT_IN_SERVICE_OP);
    EXPECT_EQ(parsed("iN-SeRvIcE"), ObjectWithChannelOps::PUT_IN_SERVICE_OP);
    EXPECT_EQ(parsed("oos"), ObjectWithChannelOps::PUT_OUT_OF_SERVICE_OP);
    EXPECT_EQ(parsed("oUT-OF-SERVICE"), ObjectWithChannelOps::PUT_OUT_OF_SERVICE_OP);
    EXPECT_EQ(parsed("pUT-IN-service"), ObjectWithChannelOps::PUT_IN_SERVICE_OP);
    EXPECT_EQ(parsed("qUIESCE"), ObjectWithChannelOps::QUIESCE_OP);
    for (const char* szNothing : {"IS", "Quiesce", "OUT-OF-SERVICE", "put-in-service ", "i", "o", "q", "p", "",
                                  "isx", "in-servic", "x-in-service", "put-quiesce"})
        EXPECT_EQ(parsed(szNothing), -1) << '"' << szNothing << '"';
    EXPECT_EQ(parsed(nullptr), -1);
}

TEST(ChannelOpTypeParsing, ATextThatNamesNoOperationIsNotLogged)
{
    LogCapture capture;
    EXPECT_EQ(parsed("restart"), -1);
    EXPECT_EQ(parsed(nullptr), -1);
    EXPECT_TRUE(capture.lines().empty());
}

TEST(ChannelOpTypeParsing, EveryValueParsesBackFromItsOwnText)
{
    for (ChannelOpType type : {ObjectWithChannelOps::QUIESCE_OP, ObjectWithChannelOps::PUT_OUT_OF_SERVICE_OP,
                               ObjectWithChannelOps::PUT_IN_SERVICE_OP})
        EXPECT_EQ(parsed(getChannelOpTypeString(type)), type);
    EXPECT_STREQ(getChannelOpTypeString(ObjectWithChannelOps::QUIESCE_OP), "quiesce");
    EXPECT_STREQ(getChannelOpTypeString(ObjectWithChannelOps::PUT_OUT_OF_SERVICE_OP), "put-out-of-service");
    EXPECT_STREQ(getChannelOpTypeString(ObjectWithChannelOps::PUT_IN_SERVICE_OP), "put-in-service");
    EXPECT_STREQ(getChannelOpTypeString(static_cast<ChannelOpType>(3)), "ChannelOpType???");
    EXPECT_STREQ(getChannelOpTypeString(static_cast<ChannelOpType>(-1)), "ChannelOpType???");
}

TEST(ChannelRegexMatch, SearchesAnywhereCaseSensitivelyWithItsOwnAnchors)
{
    ObjectWithChannelOps::ChannelRegexMatch match;
    ASSERT_TRUE(match.initialize("1"));
    EXPECT_TRUE(match("span1-ch3"));
    EXPECT_TRUE(match("ch10"));
    EXPECT_FALSE(match("ch2"));

    // A second pattern replaces the first.
    ASSERT_TRUE(match.initialize("^ch1$"));
    EXPECT_TRUE(match("ch1"));
    EXPECT_FALSE(match("ch10"));
    EXPECT_FALSE(match("span1-ch1"));

    ASSERT_TRUE(match.initialize("CH"));
    EXPECT_FALSE(match("ch1"));
}

TEST(ChannelRegexMatch, FailedInitializeLeavesNoPatternAndLogsTheLibraryMessage)
{
    ObjectWithChannelOps::ChannelRegexMatch match;
    ASSERT_TRUE(match.initialize("ch"));
    LogCapture capture("linkhaven.oam.ObjectWithChannelOps");
    EXPECT_FALSE(match.initialize("ch(1"));
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(capture.lines()[0].level, ERROR_LOG_LEVEL);
    std::string strLibraryMessage;
    try {
        BoostRegex("ch(1", 0);
    } catch (const std::runtime_error& e) {
        strLibraryMessage = e.what();
    }
    EXPECT_FALSE(strLibraryMessage.empty());
    EXPECT_EQ(capture.lines()[0].strMessage, strLibraryMessage);

    AssertionCapture assertions;
    EXPECT_FALSE(match("ch1"));
    EXPECT_EQ(assertions.conditions(), (StringVector{"m_nameRegex != 0"}));
}

TEST(ChannelRegexMatch, MatchingWithoutAPatternReportsTheAssertion)
{
    AssertionCapture assertions;
    const ObjectWithChannelOps::ChannelRegexMatch match;
    EXPECT_FALSE(match("ch1"));
    EXPECT_EQ(assertions.conditions(), (StringVector{"m_nameRegex != 0"}));
}

TEST(ChannelRegexMatch, EngineGivingUpSelectsNothingAndLogsTheError)
{
    ObjectWithChannelOps::ChannelRegexMatch match;
    ASSERT_TRUE(match.initialize("(a*)*(b*)*(c*)*$x"));
    LogCapture capture("linkhaven.oam.ObjectWithChannelOps");
    EXPECT_FALSE(match(std::string(4096, 'a').c_str()));
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(capture.lines()[0].level, ERROR_LOG_LEVEL);
    EXPECT_EQ(capture.lines()[0].strMessage.rfind(
                  "The complexity of matching the regular expression exceeded predefined bounds.", 0),
              0u)
        << capture.lines()[0].strMessage;
}
