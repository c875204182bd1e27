#pragma once
// A typed value: a configuration parameter's or an OM's.

#include <ostream>
#include <string>

class ParameterValue
{
  public:
    enum Type
    {
        NO_VALUE_TYPE = 0,
        STRING_TYPE = 1,
        INTEGER_TYPE = 2,
        FLOATING_TYPE = 5
    };

    ParameterValue() = default;
    explicit ParameterValue(const std::string& in_strValue) { *this = in_strValue; }
    explicit ParameterValue(long in_lValue) { setInteger(in_lValue); }
    explicit ParameterValue(double in_dValue) { setFloating(in_dValue); }

    // Makes the value that the text denotes as in_type; NO_VALUE_TYPE takes whatever number the
    // text is (integer first, then floating). A text that is no number of that kind becomes a
    // string value when in_bAcceptString is true, and is refused otherwise (false, value unchanged).
    // Numbers are decimal, with no blank around them: " 42" is a string.
    bool initFromText(const char* in_szText, Type in_type, bool in_bAcceptString);

    ParameterValue& operator=(const char* in_szText);
    ParameterValue& operator=(const std::string& in_strText);
    void setInteger(long in_lValue);
    void setFloating(double in_dValue);
    void clear();

    Type getType() const { return m_type; }
    bool hasValue() const { return m_type != NO_VALUE_TYPE; }
    // A string value as it is; any other value in the text form that operator<< writes.
    const std::string& getText() const { return m_strText; }
    operator const char*() const { return m_strText.c_str(); }
    // False unless the value is an integer, or a string that is one.
    bool getInteger(long& out_lValue) const;
    // False unless the value is a number, or a string that is one.
    bool getFloating(double& out_dValue) const;

    bool operator==(const ParameterValue& in_other) const
    {
        return m_type == in_other.m_type && m_strText == in_other.m_strText;
    }
    bool operator!=(const ParameterValue& in_other) const { return !(*this == in_other); }

  private:
    Type m_type = NO_VALUE_TYPE;
    long m_lValue = 0;
    double m_dValue = 0.0;
    // Kept for every type, so that the text form is always at hand without formatting.
    std::string m_strText;
};

// A floating value always shows a decimal point or an exponent ("90.0"), so that it reads back
// as floating; no value writes nothing.
std::ostream& operator<<(std::ostream& io_stream, const ParameterValue& in_value);
