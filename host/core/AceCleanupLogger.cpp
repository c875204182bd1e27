#include "host/core/AceCleanupLogger.h"

#include <map>
#include <memory>
#include <mutex>

const Logger& AceCleanupLogger::get(const std::string& in_strName)
{
    static std::mutex s_mutex;
    // Never destroyed: code running during exit may still log through these.
    static auto* s_pLoggers = new std::map<std::string, std::unique_ptr<Logger>>();
    std::lock_guard<std::mutex> lock(s_mutex);
    std::unique_ptr<Logger>& pLogger = (*s_pLoggers)[in_strName];
    if (!pLogger)
        pLogger = std::make_unique<Logger>(in_strName);
    return *pLogger;
}
