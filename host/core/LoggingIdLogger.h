#pragma once
// An object's logger: a named logger plus the object's logging id (a task name, for example),
// which each line carries in the MDC key "loggingId" so that a layout can show it with
// %X{loggingId}. The message text itself is never changed.

#include <string>

#include "host/core/Logger.h"

// Set the id before the object is shared between threads; logging is then safe on any thread.
class LoggingIdLogger : public Logger
{
  public:
    explicit LoggingIdLogger(const Logger& in_logger);

    void setLoggingId(const std::string& in_strLoggingId) { m_strLoggingId = in_strLoggingId; }
    const std::string& getLoggingId() const { return m_strLoggingId; }

    void forcedLog(LogLevel in_level, const std::string& in_strText, const char* in_szFile = nullptr,
                   int in_nLine = -1) const override;

  private:
    std::string m_strLoggingId;
};
