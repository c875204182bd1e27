#include "host/core/CachedLLLogger.h"

CachedLLLogger::CachedLLLogger(const Logger& in_logger)
    : Logger(in_logger), m_cachedLevel(in_logger.getChainedLogLevel()),
      m_uiCachedGeneration(Logger::getLevelGeneration())
{
}

CachedLLLogger::CachedLLLogger(const CachedLLLogger& in_other) : CachedLLLogger(static_cast<const Logger&>(in_other))
{
}

LogLevel CachedLLLogger::getCachedLogLevel() const
{
    // The generation is read before the level, so a level set meanwhile is caught next time.
    const unsigned uiGeneration = Logger::getLevelGeneration();
    if (uiGeneration != m_uiCachedGeneration.load(std::memory_order_relaxed)) {
        m_cachedLevel.store(getChainedLogLevel(), std::memory_order_relaxed);
        m_uiCachedGeneration.store(uiGeneration, std::memory_order_relaxed);
    }
    return m_cachedLevel.load(std::memory_order_relaxed);
}
