#include <gmock/gmock.h>

#include <string>

#include "host/core/Assertion.h"
#include "oam/channel/ChannelRegexMatch.h"
#include "tests/support/LogCapture.h"

using Ops = ObjectWithChannelOps;

// The first three rows are the texts the values are given as.
TEST(ChannelOpType, TextsParseBackFirstLetterAsWrittenRestWithoutCaseAndOtherWordsNameNothingUnlogged)
{
    const std::pair<const char*, int> cases[] = {
        {"quiesce", Ops::QUIESCE_OP}, {"put-out-of-service", Ops::PUT_OUT_OF_SERVICE_OP}, {"put-in-service", Ops::PUT_IN_SERVICE_OP},
        {"is", Ops::PUT_IN_SERVICE_OP}, {"iN-SeRvIcE", Ops::PUT_IN_SERVICE_OP}, {"oos", Ops::PUT_OUT_OF_SERVICE_OP},
        {"oUT-OF-SERVICE", Ops::PUT_OUT_OF_SERVICE_OP}, {"pUT-IN-service", Ops::PUT_IN_SERVICE_OP}, {"qUIESCE", Ops::QUIESCE_OP},
        {"IS", -1}, {"Quiesce", -1}, {"OUT-OF-SERVICE", -1}, {"put-in-service ", -1}, {"i", -1}, {"p", -1}, {"", -1},
        {"isx", -1}, {"in-servic", -1}, {"x-in-service", -1}, {"put-quiesce", -1}, {nullptr, -1}};
    LogCapture capture;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto [szText, nExpected] = cases[i];
        SCOPED_TRACE(szText ? szText : "(null)");
        const Fallible<Ops::ChannelOpType> parsed = parseChannelOpTypeString(szText);
        EXPECT_EQ(parsed.valid() ? static_cast<int>(parsed.value()) : -1, nExpected);
        if (i < 3) {
            EXPECT_STREQ(getChannelOpTypeString(static_cast<Ops::ChannelOpType>(nExpected)), szText);
        }
    }
    EXPECT_STREQ(getChannelOpTypeString(static_cast<Ops::ChannelOpType>(3)), "ChannelOpType???");
    EXPECT_TRUE(capture.lines().empty());
}

// A malformed pattern, then a pattern that backtracks without end: the library's message is logged
// and nothing is selected.
TEST(ChannelRegexMatch, ErrorsOfTheLibraryAreLoggedAndSelectNothing)
{
    std::string strMalformed;
    try {
        BoostRegex("ch(1", 0);
    } catch (const std::runtime_error& e) {
        strMalformed = e.what();
    }
    Ops::ChannelRegexMatch match;
    ASSERT_TRUE(match.initialize("ch"));
    LogCapture capture("linkhaven.oam.ObjectWithChannelOps");
    AssertionCapture assertions;
    EXPECT_FALSE(match.initialize("ch(1"));
    EXPECT_FALSE(match("ch1")) << "the old pattern is gone";
    EXPECT_EQ(assertions.conditions(), (StringVector{"m_nameRegex != 0"}));
    ASSERT_TRUE(match.initialize("(a*)*(b*)*(c*)*$x"));
    EXPECT_FALSE(match(std::string(4096, 'a').c_str()));
    EXPECT_EQ(capture.messages(ERROR_LOG_LEVEL), capture.messages());
    EXPECT_THAT(capture.messages(), testing::ElementsAre(strMalformed, testing::StartsWith("The complexity of matching the regular expression exceeded predefined bounds.")));
}
