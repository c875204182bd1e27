#include "host/core/Assertion.h"

#include <algorithm>
#include <cstring>

#include "host/core/AceCleanupLogger.h"

namespace {
std::mutex& capturesMutex()
{
    static std::mutex* s_pMutex = new std::mutex();
    return *s_pMutex;
}

std::vector<AssertionCapture*>& activeCaptures()
{
    static auto* s_pCaptures = new std::vector<AssertionCapture*>();
    return *s_pCaptures;
}

const char* baseName(const char* in_szFile)
{
    if (in_szFile == nullptr)
        return "?";
    const char* szSlash = std::strrchr(in_szFile, '/');
    return szSlash != nullptr ? szSlash + 1 : in_szFile;
}
} // namespace

bool Assertion(bool in_bCondition, const char* in_szCondition, const char* in_szFile, int in_nLine)
{
    if (in_bCondition)
        return true;
    return Assertion(in_bCondition, in_szCondition, in_szFile, in_nLine, AceCleanupLogger::get("linkhaven.assert"));
}

bool Assertion(bool in_bCondition, const char* in_szCondition, const char* in_szFile, int in_nLine,
               const Logger& in_logger)
{
    if (in_bCondition)
        return true;
    const AssertionReport report{in_szCondition != nullptr ? in_szCondition : "", in_szFile != nullptr ? in_szFile : "",
                                 in_nLine, in_logger.getName()};
    std::ostringstream text;
    text << "Assertion failed: " << report.strCondition << " (" << baseName(in_szFile) << ":" << in_nLine << ")";
    in_logger.forcedLog(ERROR_LOG_LEVEL, text.str(), in_szFile, in_nLine);
    std::lock_guard<std::mutex> lock(capturesMutex());
    for (AssertionCapture* pCapture : activeCaptures())
        pCapture->record(report);
    return false;
}

AssertionCapture::AssertionCapture()
{
    std::lock_guard<std::mutex> lock(capturesMutex());
    activeCaptures().push_back(this);
}

AssertionCapture::~AssertionCapture()
{
    std::lock_guard<std::mutex> lock(capturesMutex());
    std::vector<AssertionCapture*>& captures = activeCaptures();
    captures.erase(std::remove(captures.begin(), captures.end(), this), captures.end());
}

std::vector<AssertionReport> AssertionCapture::reports() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_vReports;
}

StringVector AssertionCapture::conditions() const
{
    StringVector conditions;
    for (const AssertionReport& report : reports())
        conditions.push_back(report.strCondition);
    return conditions;
}

void AssertionCapture::record(const AssertionReport& in_report)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vReports.push_back(in_report);
}
