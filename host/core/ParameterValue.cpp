#include "host/core/ParameterValue.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {
bool parseInteger(const char* in_szText, long& out_lValue)
{
    const char* szEnd = in_szText + std::strlen(in_szText);
    const char* szBegin = (*in_szText == '+') ? in_szText + 1 : in_szText;
    if (szBegin == szEnd || (*szBegin == '-' && in_szText != szBegin))
        return false;
    const std::from_chars_result result = std::from_chars(szBegin, szEnd, out_lValue);
    return result.ec == std::errc() && result.ptr == szEnd;
}

// from_chars also takes "inf" and "nan", which are no configuration values.
bool parseFloating(const char* in_szText, double& out_dValue)
{
    const char* szEnd = in_szText + std::strlen(in_szText);
    const char* szBegin = (*in_szText == '+') ? in_szText + 1 : in_szText;
    bool bHasDigit = false;
    for (const char* p = szBegin; p != szEnd; ++p)
        bHasDigit = bHasDigit || std::isdigit(static_cast<unsigned char>(*p));
    if (!bHasDigit || (*szBegin == '-' && in_szText != szBegin))
        return false;
    const std::from_chars_result result = std::from_chars(szBegin, szEnd, out_dValue);
    return result.ec == std::errc() && result.ptr == szEnd && std::isfinite(out_dValue);
}

std::string floatingText(double in_dValue)
{
    char buffer[64];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof(buffer), in_dValue);
    std::string strText(buffer, result.ptr);
    if (strText.find_first_of(".e") == std::string::npos)
        strText += ".0";
    return strText;
}
} // namespace

bool ParameterValue::initFromText(const char* in_szText, Type in_type, bool in_bAcceptString)
{
    const char* szText = in_szText != nullptr ? in_szText : "";
    long lValue = 0;
    double dValue = 0.0;
    const bool bTakesInteger = in_type == INTEGER_TYPE || in_type == NO_VALUE_TYPE;
    const bool bTakesFloating = in_type == FLOATING_TYPE || in_type == NO_VALUE_TYPE;
    if (bTakesInteger && parseInteger(szText, lValue)) {
        setInteger(lValue);
        return true;
    }
    if (bTakesFloating && parseFloating(szText, dValue)) {
        setFloating(dValue);
        return true;
    }
    if (in_type != STRING_TYPE && !in_bAcceptString)
        return false;
    *this = szText;
    return true;
}

ParameterValue& ParameterValue::operator=(const char* in_szText)
{
    return *this = std::string(in_szText != nullptr ? in_szText : "");
}

ParameterValue& ParameterValue::operator=(const std::string& in_strText)
{
    m_type = STRING_TYPE;
    m_lValue = 0;
    m_dValue = 0.0;
    m_strText = in_strText;
    return *this;
}

void ParameterValue::setInteger(long in_lValue)
{
    m_type = INTEGER_TYPE;
    m_lValue = in_lValue;
    m_dValue = 0.0;
    m_strText = std::to_string(in_lValue);
}

void ParameterValue::setFloating(double in_dValue)
{
    m_type = FLOATING_TYPE;
    m_lValue = 0;
    m_dValue = in_dValue;
    m_strText = floatingText(in_dValue);
}

void ParameterValue::clear() { *this = ParameterValue(); }

bool ParameterValue::getInteger(long& out_lValue) const
{
    if (m_type == INTEGER_TYPE) {
        out_lValue = m_lValue;
        return true;
    }
    return m_type == STRING_TYPE && parseInteger(m_strText.c_str(), out_lValue);
}

bool ParameterValue::getFloating(double& out_dValue) const
{
    switch (m_type) {
    case INTEGER_TYPE:
        out_dValue = static_cast<double>(m_lValue);
        return true;
    case FLOATING_TYPE:
        out_dValue = m_dValue;
        return true;
    case STRING_TYPE:
        return parseFloating(m_strText.c_str(), out_dValue);
    default:
        return false;
    }
}

std::ostream& operator<<(std::ostream& io_stream, const ParameterValue& in_value)
{
    return io_stream << in_value.getText();
}
