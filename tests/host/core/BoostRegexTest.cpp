#include <gtest/gtest.h>

#include "host/core/BoostRegex.h"

TEST(BoostRegex, FindsThePatternAnywhereUnlessItIsAnchored)
{
    const BoostRegex anywhere("1", 0);
    EXPECT_TRUE(BoostRegex::regex_search("span1-ch3", anywhere));
    EXPECT_TRUE(BoostRegex::regex_search("ch10", anywhere));

    const BoostRegex whole("^ch1$", 0);
    EXPECT_TRUE(BoostRegex::regex_search("ch1", whole));
    EXPECT_FALSE(BoostRegex::regex_search("ch10", whole));
    EXPECT_FALSE(BoostRegex::regex_search("span1-ch1", whole));

    EXPECT_FALSE(BoostRegex::regex_search("ch1", BoostRegex("CH", 0)));
    EXPECT_TRUE(BoostRegex::regex_search("ch1", BoostRegex("CH", boost::regex::icase)));
}

TEST(BoostRegex, AMalformedPatternThrowsTheLibrarysOwnMessage)
{
    std::string strLibraryMessage;
    try {
        boost::regex("ch[1", boost::regex::normal);
    } catch (const boost::regex_error& e) {
        strLibraryMessage = e.what();
    }
    ASSERT_FALSE(strLibraryMessage.empty());
    try {
        BoostRegex("ch[1", 0);
        FAIL() << "a malformed pattern compiled";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), strLibraryMessage);
    }
}

TEST(BoostRegex, ASearchTheEngineGivesUpOnThrowsInsteadOfHanging)
{
    const BoostRegex catastrophic("(a+)+b", 0);
    const std::string strLongName(100, 'a');
    try {
        BoostRegex::regex_search(strLongName, catastrophic);
        FAIL() << "the engine did not give up";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("complexity"), std::string::npos) << e.what();
    }
}
