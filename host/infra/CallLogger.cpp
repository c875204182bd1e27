#include "host/infra/CallLogger.h"

#include <fstream>
#include <mutex>

namespace {
struct CallLog
{
    std::mutex m_mutex;
    std::string m_strPath; // empty while not configured
    std::ofstream m_file;  // open while enabled
};

CallLog& callLog()
{
    static CallLog* s_pLog = new CallLog();
    return *s_pLog;
}
} // namespace

bool CallLogger::configure(const std::string& in_strPath)
{
    CallLog& log = callLog();
    std::lock_guard<std::mutex> lock(log.m_mutex);
    log.m_file.close();
    log.m_file.clear();
    log.m_file.open(in_strPath, std::ios::app);
    log.m_strPath = log.m_file.is_open() ? in_strPath : "";
    return log.m_file.is_open();
}

void CallLogger::close()
{
    CallLog& log = callLog();
    std::lock_guard<std::mutex> lock(log.m_mutex);
    log.m_file.close();
    log.m_strPath.clear();
}

bool CallLogger::isConfigured()
{
    CallLog& log = callLog();
    std::lock_guard<std::mutex> lock(log.m_mutex);
    return !log.m_strPath.empty();
}

bool CallLogger::isEnabled()
{
    CallLog& log = callLog();
    std::lock_guard<std::mutex> lock(log.m_mutex);
    return log.m_file.is_open();
}

bool CallLogger::setMode(bool in_bEnabled)
{
    CallLog& log = callLog();
    std::lock_guard<std::mutex> lock(log.m_mutex);
    if (log.m_strPath.empty())
        return false;
    if (!in_bEnabled) {
        log.m_file.close();
        return true;
    }
    if (!log.m_file.is_open()) {
        log.m_file.clear();
        log.m_file.open(log.m_strPath, std::ios::app);
    }
    return log.m_file.is_open();
}

bool CallLogger::logCall(const std::string& in_strRecord)
{
    CallLog& log = callLog();
    std::lock_guard<std::mutex> lock(log.m_mutex);
    if (!log.m_file.is_open())
        return false;
    log.m_file << in_strRecord << '\n' << std::flush;
    return static_cast<bool>(log.m_file);
}
