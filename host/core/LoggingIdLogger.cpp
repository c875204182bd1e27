#include "host/core/LoggingIdLogger.h"

#include <log4cplus/mdc.h>

namespace {
const char* const LOGGING_ID_KEY = "loggingId";
}

LoggingIdLogger::LoggingIdLogger(const Logger& in_logger) : Logger(in_logger) {}

void LoggingIdLogger::forcedLog(LogLevel in_level, const std::string& in_strText, const char* in_szFile,
                                int in_nLine) const
{
    if (m_strLoggingId.empty()) {
        Logger::forcedLog(in_level, in_strText, in_szFile, in_nLine);
        return;
    }
    // The MDC is per thread: the key is set for this one line only, then removed.
    log4cplus::MDC& mdc = log4cplus::getMDC();
    mdc.put(LOGGING_ID_KEY, m_strLoggingId);
    Logger::forcedLog(in_level, in_strText, in_szFile, in_nLine);
    mdc.remove(LOGGING_ID_KEY);
}
