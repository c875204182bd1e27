#pragma once
// Captures what is logged on one logger (and below it) while the capture lives.

#include <mutex>
#include <string>
#include <vector>

#include <log4cplus/appender.h>

#include "host/core/Logger.h"

struct CapturedLine
{
    LogLevel level;
    std::string strLogger;
    std::string strMessage;
    std::string strLoggingId; // the "loggingId" the line carried
};

class LogCapture
{
  public:
    explicit LogCapture(const std::string& in_strLogger = "");
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<CapturedLine> lines() const;
    // The messages of the lines at that level or above.
    std::vector<std::string> messages(LogLevel in_minLevel = TRACE_LOG_LEVEL) const;
    // True when a line at that level holds exactly that message.
    bool contains(LogLevel in_level, const std::string& in_strMessage) const;

  private:
    class Appender;
    Logger m_logger;
    log4cplus::SharedAppenderPtr m_pAppender;
    Appender* m_pCapture;
    LogLevel m_previousLevel;
};
