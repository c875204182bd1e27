#pragma once
// A logger that caches the level in force, so that a level test does not walk the hierarchy.
// The cache changes only when its owner refreshes it, at points of its own choosing, so a level
// set at run time (by command or by a run mode's configuration) takes effect from the next one.
// CachedLLLoggingIdLogger also carries its owner's logging id on every line.

#include "host/core/Logger.h"
#include "host/core/LoggingIdLogger.h"

// The owner's thread only: the cache is not synchronised.
template <class BaseLogger>
class BasicCachedLLLogger : public BaseLogger
{
  public:
    explicit BasicCachedLLLogger(const Logger& in_logger)
        : BaseLogger(in_logger), m_cachedLevel(in_logger.getChainedLogLevel())
    {
    }

    bool isEnabledFor(LogLevel in_level) const { return in_level >= m_cachedLevel; }
    LogLevel getCachedLogLevel() const { return m_cachedLevel; }
    void refreshLogLevel() { m_cachedLevel = this->getChainedLogLevel(); }

  private:
    LogLevel m_cachedLevel;
};

using CachedLLLogger = BasicCachedLLLogger<Logger>;
using CachedLLLoggingIdLogger = BasicCachedLLLogger<LoggingIdLogger>;
