#pragma once
// A logger that caches the level in force, so that a level test does not walk the hierarchy.
// The cache changes only when its owner refreshes it, at points of its own choosing, so a level
// set at run time (by command or by a run mode's configuration) takes effect from the next one.

#include "host/core/Logger.h"

// The owner's thread only: the cache is not synchronised.
class CachedLLLogger : public Logger
{
  public:
    explicit CachedLLLogger(const Logger& in_logger)
        : Logger(in_logger), m_cachedLevel(in_logger.getChainedLogLevel())
    {
    }

    bool isEnabledFor(LogLevel in_level) const { return in_level >= m_cachedLevel; }
    LogLevel getCachedLogLevel() const { return m_cachedLevel; }
    void refreshLogLevel() { m_cachedLevel = getChainedLogLevel(); }

  private:
    LogLevel m_cachedLevel;
};
