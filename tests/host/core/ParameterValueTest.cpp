#include <gtest/gtest.h>

#include <sstream>

#include "host/core/ParameterValue.h"

namespace {
std::string streamed(const ParameterValue& in_value)
{
    std::ostringstream stream;
    stream << in_value;
    return stream.str();
}
} // namespace

TEST(ParameterValue, TextGivesTheValueItDenotesWhenNoTypeIsAsked)
{
    ParameterValue value;
    long lValue = 0;
    double dValue = 0.0;

    ASSERT_TRUE(value.initFromText("18081", ParameterValue::NO_VALUE_TYPE, true));
    EXPECT_EQ(value.getType(), ParameterValue::INTEGER_TYPE);
    EXPECT_TRUE(value.getInteger(lValue));
    EXPECT_EQ(lValue, 18081);

    ASSERT_TRUE(value.initFromText("-12", ParameterValue::NO_VALUE_TYPE, true));
    EXPECT_TRUE(value.getInteger(lValue));
    EXPECT_EQ(lValue, -12);

    ASSERT_TRUE(value.initFromText("90.5", ParameterValue::NO_VALUE_TYPE, true));
    EXPECT_EQ(value.getType(), ParameterValue::FLOATING_TYPE);
    EXPECT_TRUE(value.getFloating(dValue));
    EXPECT_DOUBLE_EQ(dValue, 90.5);
    EXPECT_FALSE(value.getInteger(lValue));

    for (const char* szText : {"production", "", " 42", "42 ", "1.2.3", "nan", "inf", "0x10", "+-1"}) {
        ASSERT_TRUE(value.initFromText(szText, ParameterValue::NO_VALUE_TYPE, true));
        EXPECT_EQ(value.getType(), ParameterValue::STRING_TYPE) << szText;
        EXPECT_STREQ(static_cast<const char*>(value), szText);
    }
}

TEST(ParameterValue, AskedTypeIsKeptOrTheTextIsRefused)
{
    ParameterValue value("before");
    ASSERT_TRUE(value.initFromText("80", ParameterValue::FLOATING_TYPE, false));
    EXPECT_EQ(value.getType(), ParameterValue::FLOATING_TYPE);
    EXPECT_EQ(streamed(value), "80.0");

    ASSERT_TRUE(value.initFromText("1500", ParameterValue::STRING_TYPE, false));
    EXPECT_EQ(value.getType(), ParameterValue::STRING_TYPE);

    EXPECT_FALSE(value.initFromText("2.5", ParameterValue::INTEGER_TYPE, false));
    EXPECT_EQ(value, ParameterValue("1500"));
    ASSERT_TRUE(value.initFromText("2.5", ParameterValue::INTEGER_TYPE, true));
    EXPECT_EQ(value.getType(), ParameterValue::STRING_TYPE);
}

TEST(ParameterValue, StreamsEveryTypeAndFloatingValuesReadBackAsFloating)
{
    EXPECT_EQ(streamed(ParameterValue()), "");
    EXPECT_EQ(streamed(ParameterValue(std::string("GREEN"))), "GREEN");
    EXPECT_EQ(streamed(ParameterValue(500L)), "500");
    EXPECT_EQ(streamed(ParameterValue(90.0)), "90.0");
    EXPECT_EQ(streamed(ParameterValue(0.1)), "0.1");

    ParameterValue readBack;
    ASSERT_TRUE(readBack.initFromText(ParameterValue(1e21).getText().c_str(), ParameterValue::NO_VALUE_TYPE, false));
    EXPECT_EQ(readBack, ParameterValue(1e21));
}

TEST(ParameterValue, AssignmentFromTextMakesAStringWhateverItSays)
{
    ParameterValue value(3L);
    value = "42";
    EXPECT_EQ(value.getType(), ParameterValue::STRING_TYPE);
    long lValue = 0;
    EXPECT_TRUE(value.getInteger(lValue));
    EXPECT_EQ(lValue, 42);
    value = static_cast<const char*>(nullptr);
    EXPECT_EQ(value.getType(), ParameterValue::STRING_TYPE);
    EXPECT_STREQ(static_cast<const char*>(value), "");
    value.clear();
    EXPECT_FALSE(value.hasValue());
}
