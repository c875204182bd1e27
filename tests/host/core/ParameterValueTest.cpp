#include <gtest/gtest.h>

#include <sstream>

#include "host/core/ParameterValue.h"

TEST(ParameterValue, TextGivesTheValueItDenotesAsTheAskedTypeOrIsRefused)
{
    using PV = ParameterValue;
    // The text, the type asked, whether a string is accepted; whether it is read, the type and the value streamed ("before"
    // when refused: the value is left as it was).
    struct Case { const char* szText; PV::Type askedType; bool bAcceptString, bOk; PV::Type type; const char* szStreamed; };
    const Case cases[] = {
        {"18081", PV::NO_VALUE_TYPE, true, true, PV::INTEGER_TYPE, "18081"},
        {"-12", PV::NO_VALUE_TYPE, true, true, PV::INTEGER_TYPE, "-12"},
        {"90.5", PV::NO_VALUE_TYPE, true, true, PV::FLOATING_TYPE, "90.5"},
        {"1e21", PV::NO_VALUE_TYPE, true, true, PV::FLOATING_TYPE, "1e+21"},
        {"80", PV::FLOATING_TYPE, false, true, PV::FLOATING_TYPE, "80.0"},
        {"1500", PV::STRING_TYPE, false, true, PV::STRING_TYPE, "1500"},
        {"2.5", PV::INTEGER_TYPE, false, false, PV::STRING_TYPE, "before"},
        {"2.5", PV::INTEGER_TYPE, true, true, PV::STRING_TYPE, "2.5"},
    };
    std::vector<Case> rows(std::begin(cases), std::end(cases));
    // Not numbers as a configuration file writes them.
    for (const char* szText : {"production", "", " 42", "42 ", "1.2.3", "nan", "inf", "0x10", "+-1"})
        rows.push_back({szText, PV::NO_VALUE_TYPE, true, true, PV::STRING_TYPE, szText});
    for (const Case& row : rows) {
        SCOPED_TRACE(std::string("\"") + row.szText + "\" as type " + std::to_string(row.askedType));
        PV value(std::string("before"));
        EXPECT_EQ(value.initFromText(row.szText, row.askedType, row.bAcceptString), row.bOk);
        EXPECT_EQ(value.getType(), row.type);
        std::ostringstream streamed;
        streamed << value;
        EXPECT_EQ(streamed.str(), row.szStreamed);
        PV readBack;
        EXPECT_TRUE(readBack.initFromText(value.getText().c_str(), value.getType(), false));
        EXPECT_EQ(readBack, value) << "what a value writes reads back as the same value";
    }
}

TEST(ParameterValue, NumbersAreReadFromStringsAndNoValueWritesNothing)
{
    long lValue = 0;
    double dValue = 0.0;
    EXPECT_TRUE(ParameterValue(std::string("42")).getInteger(lValue) && lValue == 42);
    EXPECT_TRUE(ParameterValue(500L).getFloating(dValue) && dValue == 500.0);
    EXPECT_FALSE(ParameterValue(90.5).getInteger(lValue));
    ParameterValue value(3L);
    value = static_cast<const char*>(nullptr);
    EXPECT_TRUE(value.getType() == ParameterValue::STRING_TYPE && value.getText().empty());
    value.clear();
    EXPECT_TRUE(!value.hasValue() && value.getText().empty());
}
