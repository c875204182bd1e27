#include "oam/manager/GetOMSM.h"

#include "host/core/Assertion.h"
#include "host/core/TraceScope.h"
#include "host/thread/ThreadChecker.h"
#include "oam/manager/OAMManager.h"

GetOMSM::GetOMSM() : CachedLLLoggingIdLogger(Logger("linkhaven.oam.GetOMSM")) {}

// Destroyed with the manager's pool while a reporter still holds a proxy: the caller is told now.
GetOMSM::~GetOMSM()
{
    proxiesGone();
}

void GetOMSM::start(OAMManager* in_pManager, const char* in_szOMName, const OMFuture& in_future,
                    bool in_bQueryAllReporters, const Deadline& in_callerDeadline)
{
    LH_CHECK_THREAD(in_pManager->getThreadChecker());
    // Once per request, so that a level set since the last one is in force for this one.
    refreshLogLevel();
    if (m_pOamManager != in_pManager)
        setLoggingId(in_pManager->getTaskName());
    m_pOamManager = in_pManager;
    m_strOMName = in_szOMName;
    m_futureOM = in_future;
    m_bQueryAllReporters = in_bQueryAllReporters;
    m_bFinalState = false;
    m_uiNumReporterLeft = numReporters();
    m_callerDeadline = in_callerDeadline;
}

bool GetOMSM::callerHasGone(std::chrono::steady_clock::time_point in_now) const
{
    return m_callerDeadline.isLimited() && in_now >= m_callerDeadline.get();
}

bool GetOMSM::getOMSuccess(const char* in_szOMName, const ParameterValue& in_value, std::uint64_t in_uiReporterIndex)
{
    LH_CHECK_THREAD(m_pOamManager->getThreadChecker());
    if (!answerMatches(in_szOMName, in_uiReporterIndex))
        return false;
    if (m_bFinalState) {
        LH_WARN(*this, "unexpected OM success in final state. Ignoring");
        return true;
    }
    if (!m_bQueryAllReporters) {
        setFinalResult(in_value);
        return true;
    }
    if (!Assertion(m_uiNumReporterLeft > 0, "m_uiNumReporterLeft > 0", __FILE__, __LINE__, *this))
        return false;
    m_bFinalState = --m_uiNumReporterLeft == 0;
    m_pOamManager->m_OMReporterIndexHash[m_strOMName] = in_uiReporterIndex;
    // Ignored by the future when an earlier success set it.
    m_futureOM.set(in_value);
    return true;
}

bool GetOMSM::getOMFailure(const char* in_szOMName, std::uint64_t in_uiReporterIndex)
{
    LH_CHECK_THREAD(m_pOamManager->getThreadChecker());
    TraceScope trace(*this, "GetOMSM::getOMFailure");
    LH_DEBUG(*this, "in_szOMName=" << in_szOMName);
    LH_DEBUG(*this, "in_uiReporterIndex=" << in_uiReporterIndex);
    LH_DEBUG(*this, "m_uiNumReporter=" << numReporters());
    if (!answerMatches(in_szOMName, in_uiReporterIndex))
        return false;
    if (m_bFinalState) {
        LH_WARN(*this, "unexpected OM failure in final state. Ignoring");
        return true;
    }
    if (m_bQueryAllReporters) {
        if (!Assertion(m_uiNumReporterLeft > 0, "m_uiNumReporterLeft > 0", __FILE__, __LINE__, *this))
            return false;
        // Others may still succeed.
        if (--m_uiNumReporterLeft != 0)
            return true;
    }
    setFinalResult(Fallible<ParameterValue>());
    return true;
}

void GetOMSM::proxiesGone()
{
    if (!m_bFinalState)
        setFinalResult(Fallible<ParameterValue>());
}

bool GetOMSM::answerMatches(const char* in_szOMName, std::uint64_t in_uiReporterIndex) const
{
    return Assertion(m_strOMName == in_szOMName, "m_strOMName == in_szOMName", __FILE__, __LINE__, *this) &&
           Assertion(in_uiReporterIndex < numReporters(), "in_uiReporterIndex < m_pOamManager->m_vOMReporter.size()",
                     __FILE__, __LINE__, *this);
}

std::uint64_t GetOMSM::numReporters() const
{
    return m_pOamManager->m_vOMReporter.size();
}

void GetOMSM::setFinalResult(const Fallible<ParameterValue>& in_result)
{
    m_bFinalState = true;
    // Ignored by the future when a success set it already.
    m_futureOM.set(in_result);
}
