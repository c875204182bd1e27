#pragma once
// A logger that caches the level in force, so that a level test does not walk the hierarchy.
// The cache is refreshed whenever a level has been set through Logger::setLogLevel anywhere
// in the process (levels set by a log4cplus configurator are seen after the next such call).

#include <atomic>

#include "host/core/Logger.h"

// Called on any thread.
class CachedLLLogger : public Logger
{
  public:
    explicit CachedLLLogger(const Logger& in_logger);
    CachedLLLogger(const CachedLLLogger& in_other);
    CachedLLLogger& operator=(const CachedLLLogger&) = delete;

    bool isEnabledFor(LogLevel in_level) const { return in_level >= getCachedLogLevel(); }
    LogLevel getCachedLogLevel() const;

  private:
    // Both are refreshed together; a torn pair only costs one more refresh.
    mutable std::atomic<LogLevel> m_cachedLevel;
    mutable std::atomic<unsigned> m_uiCachedGeneration;
};
