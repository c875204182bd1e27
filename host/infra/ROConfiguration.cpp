#include "host/infra/ROConfiguration.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <mutex>
#include <set>

#include "host/infra/ConfigurationObserver.h"
#include "host/infra/ParameterInfoDB.h"

namespace {
std::string trimmed(const std::string& in_strText)
{
    const char* const szBlanks = " \t\r";
    const std::size_t uiBegin = in_strText.find_first_not_of(szBlanks);
    if (uiBegin == std::string::npos)
        return "";
    return in_strText.substr(uiBegin, in_strText.find_last_not_of(szBlanks) - uiBegin + 1);
}

// The value as the parameter's type, when it is one.
bool convertedTo(ParameterValue::Type in_type, const ParameterValue& in_value, ParameterValue& out_value)
{
    long lValue = 0;
    double dValue = 0.0;
    switch (in_type) {
    case ParameterValue::STRING_TYPE:
        out_value = in_value.getText();
        return true;
    case ParameterValue::INTEGER_TYPE:
        if (!in_value.getInteger(lValue))
            return false;
        out_value.setInteger(lValue);
        return true;
    case ParameterValue::FLOATING_TYPE:
        if (!in_value.getFloating(dValue))
            return false;
        out_value.setFloating(dValue);
        return true;
    default:
        out_value = in_value;
        return true;
    }
}
} // namespace

ROConfiguration::ROConfiguration(const ParameterInfoDB* in_pDefinitions) : m_pDefinitions(in_pDefinitions) {}

bool ROConfiguration::getValue(const std::string& in_strName, ParameterValue& out_value) const
{
    {
        std::shared_lock<std::shared_mutex> lock(m_mutex);
        const auto found = m_values.find(in_strName);
        if (found != m_values.end()) {
            out_value = found->second;
            return true;
        }
    }
    ParameterInfo info;
    if (findDefinition(in_strName, info) && info.defaultValue.hasValue()) {
        out_value = info.defaultValue;
        return true;
    }
    out_value.clear();
    return false;
}

bool ROConfiguration::getInt(const std::string& in_strName, int& out_nValue) const
{
    ParameterValue value;
    long lValue = 0;
    if (!getValue(in_strName, value) || !value.getInteger(lValue) || lValue < INT_MIN || lValue > INT_MAX)
        return false;
    out_nValue = static_cast<int>(lValue);
    return true;
}

bool ROConfiguration::getString(const std::string& in_strName, std::string& out_strValue) const
{
    ParameterValue value;
    if (!getValue(in_strName, value))
        return false;
    out_strValue = value.getText();
    return true;
}

bool ROConfiguration::hasParameter(const std::string& in_strName) const
{
    {
        std::shared_lock<std::shared_mutex> lock(m_mutex);
        if (m_values.count(in_strName) != 0)
            return true;
    }
    ParameterInfo info;
    return findDefinition(in_strName, info);
}

StringVector ROConfiguration::getParameterNames() const
{
    std::set<std::string> names;
    if (m_pDefinitions != nullptr) {
        for (const std::string& strName : m_pDefinitions->getParameterNames())
            names.insert(strName);
    }
    std::shared_lock<std::shared_mutex> lock(m_mutex);
    for (const auto& value : m_values)
        names.insert(value.first);
    return StringVector(names.begin(), names.end());
}

StringVector ROConfiguration::getMissingMandatoryParameters() const
{
    StringVector missing;
    if (m_pDefinitions == nullptr)
        return missing;
    ParameterValue value;
    ParameterInfo info;
    for (const std::string& strName : m_pDefinitions->getParameterNames()) {
        if (findDefinition(strName, info) && info.bMandatory && !getValue(strName, value))
            missing.push_back(strName);
    }
    return missing;
}

void ROConfiguration::write(std::ostream& io_stream) const
{
    const char* szSeparator = "";
    ParameterValue value;
    ParameterInfo info;
    for (const std::string& strName : getParameterNames()) {
        io_stream << szSeparator << strName << "=";
        if (findDefinition(strName, info) && info.bSecret)
            io_stream << "******";
        else if (getValue(strName, value))
            io_stream << value;
        szSeparator = "\n";
    }
}

bool ROConfiguration::setValue(const std::string& in_strName, const ParameterValue& in_value)
{
    if (!storeValue(in_strName, in_value, false))
        return false;
    // As stored: converted to the parameter's type.
    ParameterValue value;
    getValue(in_strName, value);
    std::lock_guard<std::mutex> lock(m_mutexObservers);
    for (ConfigurationObserver* pObserver : m_vpObservers)
        pObserver->notifyParamValueChange(in_strName, value);
    return true;
}

void ROConfiguration::addObserver(ConfigurationObserver* in_pObserver)
{
    std::lock_guard<std::mutex> lock(m_mutexObservers);
    m_vpObservers.push_back(in_pObserver);
}

void ROConfiguration::removeObserver(ConfigurationObserver* in_pObserver)
{
    std::lock_guard<std::mutex> lock(m_mutexObservers);
    m_vpObservers.erase(std::remove(m_vpObservers.begin(), m_vpObservers.end(), in_pObserver), m_vpObservers.end());
}

bool ROConfiguration::loadFromFile(const std::string& in_strPath, std::string& out_strError)
{
    std::ifstream file(in_strPath);
    if (!file) {
        out_strError = "cannot read configuration file " + in_strPath;
        return false;
    }
    std::string strLine;
    for (unsigned uiLine = 1; std::getline(file, strLine); ++uiLine) {
        const std::string strText = trimmed(strLine);
        if (strText.empty() || strText[0] == '#')
            continue;
        if (!storeText(strText, out_strError)) {
            out_strError = in_strPath + ":" + std::to_string(uiLine) + ": " + out_strError;
            return false;
        }
    }
    return true;
}

bool ROConfiguration::loadFromArguments(int in_nArgc, const char* const* in_pArgv, std::string& out_strError)
{
    for (int i = 1; i < in_nArgc; ++i) {
        const std::string strOption = in_pArgv[i];
        if (strOption != "--set" && strOption != "--config")
            continue;
        if (i + 1 == in_nArgc) {
            out_strError = strOption + " needs an argument";
            return false;
        }
        const std::string strArgument = in_pArgv[++i];
        const bool bLoaded =
            strOption == "--set" ? storeText(strArgument, out_strError) : loadFromFile(strArgument, out_strError);
        if (!bLoaded)
            return false;
    }
    const StringVector missing = getMissingMandatoryParameters();
    if (!missing.empty()) {
        out_strError = "mandatory parameter " + missing.front() + " is not set";
        return false;
    }
    return true;
}

bool ROConfiguration::storeValue(const std::string& in_strName, const ParameterValue& in_value, bool in_bAtStartUp)
{
    if (in_strName.empty() || !in_value.hasValue())
        return false;
    ParameterValue value = in_value;
    ParameterInfo info;
    if (findDefinition(in_strName, info)) {
        if (info.bReadOnly && !in_bAtStartUp)
            return false;
        if (!convertedTo(info.type, in_value, value))
            return false;
    }
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    m_values[in_strName] = value;
    return true;
}

bool ROConfiguration::storeText(const std::string& in_strAssignment, std::string& out_strError)
{
    const std::size_t uiEqual = in_strAssignment.find('=');
    const std::string strName = trimmed(in_strAssignment.substr(0, uiEqual));
    if (uiEqual == std::string::npos || strName.empty()) {
        out_strError = "expected <name>=<value>, got " + in_strAssignment;
        return false;
    }
    const std::string strText = trimmed(in_strAssignment.substr(uiEqual + 1));
    ParameterValue value;
    value.initFromText(strText.c_str(), ParameterValue::NO_VALUE_TYPE, true);
    if (!storeValue(strName, value, true)) {
        out_strError = "invalid value " + strText + " for parameter " + strName;
        return false;
    }
    return true;
}

bool ROConfiguration::findDefinition(const std::string& in_strName, ParameterInfo& out_info) const
{
    return m_pDefinitions != nullptr && m_pDefinitions->getParameterInfo(in_strName, out_info);
}
