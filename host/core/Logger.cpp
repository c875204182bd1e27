#include "host/core/Logger.h"

#include <algorithm>
#include <cctype>

#include <log4cplus/hierarchy.h>
#include <log4cplus/initializer.h>
#include <log4cplus/loglevel.h>

namespace {
// log4cplus must be initialised before the first logger is made, and stays for the process.
void ensureLog4cplus()
{
    static log4cplus::Initializer* s_pInitializer = new log4cplus::Initializer();
    (void)s_pInitializer;
}

log4cplus::Logger rootLogger()
{
    ensureLog4cplus();
    return log4cplus::Logger::getRoot();
}

log4cplus::Logger namedLogger(const std::string& in_strName)
{
    ensureLog4cplus();
    return log4cplus::Logger::getInstance(in_strName);
}
} // namespace

Logger::Logger() : m_logger(rootLogger()) {}

Logger::Logger(const std::string& in_strName) : m_logger(namedLogger(in_strName)) {}

Logger::Logger(const log4cplus::Logger& in_logger) : m_logger(in_logger) {}

std::string Logger::getName() const { return m_logger.getName(); }

LogLevel Logger::getLogLevel() const { return m_logger.getLogLevel(); }

LogLevel Logger::getChainedLogLevel() const { return m_logger.getChainedLogLevel(); }

void Logger::setLogLevel(LogLevel in_level) { m_logger.setLogLevel(in_level); }

bool Logger::isEnabledFor(LogLevel in_level) const { return m_logger.isEnabledFor(in_level); }

void Logger::forcedLog(LogLevel in_level, const std::string& in_strText, const char* in_szFile, int in_nLine) const
{
    m_logger.forcedLog(in_level, in_strText, in_szFile, in_nLine);
}

bool Logger::prefixExists(const std::string& in_strName)
{
    ensureLog4cplus();
    if (in_strName.empty())
        return false;
    if (log4cplus::Logger::exists(in_strName))
        return true;
    const std::string strPrefix = in_strName + ".";
    for (const log4cplus::Logger& logger : log4cplus::Logger::getCurrentLoggers()) {
        if (logger.getName().compare(0, strPrefix.size(), strPrefix) == 0)
            return true;
    }
    return false;
}

LogLevel parseLogLevelString(const std::string& in_strText)
{
    ensureLog4cplus();
    std::string strUpper = in_strText;
    std::transform(strUpper.begin(), strUpper.end(), strUpper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    // "NOTSET" names no level an operator could set.
    if (strUpper.empty() || strUpper == "NOTSET")
        return NOT_SET_LOG_LEVEL;
    return log4cplus::getLogLevelManager().fromString(strUpper);
}
