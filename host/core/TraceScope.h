#pragma once
// Logs "ENTER: <scope>" when built and "EXIT: <scope>" when destroyed, at trace level.

#include "host/core/Logger.h"

// Lives on one thread's stack; the logger and the scope name must outlive it.
class TraceScope
{
  public:
    TraceScope(const Logger& in_logger, const char* in_szScope);
    ~TraceScope();
    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;

  private:
    const Logger& m_logger;
    const char* m_szScope;
};
