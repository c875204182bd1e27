// The manager's OM fan-out: its blocking and asynchronous reads, and the asking of the reporters.

#include "oam/manager/OAMManager.h"

#include <cerrno>

#include "host/core/TraceScope.h"
#include "host/thread/Deadline.h"
#include "host/thread/ThreadChecker.h"
#include "oam/command/LastErrorText.h"
#include "oam/command/ProxyDestruction_MO.h"
#include "oam/command/SynchCallFailure.h"
#include "oam/command/TaskObjectPool.h"
#include "oam/manager/SynchGetOM_MO.h"
#include "oam/manager/GetOMSM.h"
#include "oam/om/GetOM_MO.h"
#include "oam/manager/OMObserverProxy.h"

void OAMManager::addOMReporter(const OMReporterPtr& in_pReporter)
{
    if (const auto* pCatalogue = dynamic_cast<const OMCatalogue*>(in_pReporter.get())) {
        std::vector<OMDescription> vOMs;
        pCatalogue->describeOMs(vOMs);
        for (OMDescription& description : vOMs)
            m_vReporterOMDescriptions.emplace_back(m_vOMReporter.size(), std::move(description));
    }
    m_vOMReporter.push_back(in_pReporter);
}

void OAMManager::describeOMs(std::vector<OMDescription>& io_vOMs) const
{
    io_vOMs.insert(io_vOMs.end(), m_vOwnOMDescriptions.begin(), m_vOwnOMDescriptions.end());
    for (const auto& entry : m_vReporterOMDescriptions)
        io_vOMs.push_back(entry.second);
}

bool OAMManager::getOM(const char* in_szOMName, ParameterValue& out_value, ACE_Time_Value in_timeout)
{
    const bool bRead = getOMCounted(in_szOMName, out_value, in_timeout);
    m_trafficCounters.countOMRead(bRead);
    return bRead;
}

bool OAMManager::getOMCounted(const char* in_szOMName, ParameterValue& out_value, ACE_Time_Value in_timeout)
{
    TraceScope trace(m_logger, "OAMManager::getOM");
    LH_DEBUG(m_logger, "OAMManager::getOM : getting OM " << in_szOMName);
    // On the manager's own thread (a handler reading an OM) nothing could answer while it waits.
    if (getThreadChecker().isBoundToCurrentThread()) {
        errno = EDEADLK;
        LH_DEBUG(m_logger, "Error getting OM " << in_szOMName << " : " << lastErrorText());
        noteSynchCallFailure(SynchCallFailure::NO_ANSWER);
        return false;
    }
    const Deadline deadline(in_timeout);
    OMFuture future;
    if (!enqueue(new SynchGetOM_MO(*this, in_szOMName, future, deadline), "OAMManager::getOM")) {
        noteSynchCallFailure(SynchCallFailure::NOT_QUEUED);
        return false;
    }
    Fallible<ParameterValue> result;
    if (!future.get(result, deadline)) {
        LH_DEBUG(m_logger, "Error getting OM " << in_szOMName << " : " << lastErrorText());
        noteSynchCallFailure(SynchCallFailure::TIMED_OUT);
        return false;
    }
    if (!result.valid()) {
        LH_DEBUG(m_logger, "Error getting OM " << in_szOMName << " : fallible OM is invalid");
        noteSynchCallFailure(SynchCallFailure::NO_VALUE);
        return false;
    }
    out_value = result.value();
    return true;
}

bool OAMManager::getOM(const char* in_szOMName, OMObserver* in_pObserver)
{
    return enqueue(new GetOM_MO(*this, in_szOMName, in_pObserver), "OAMManager::getOM");
}

MOCallStatus OAMManager::getOM_i(const char* in_szOMName, OMFuture& io_future, const Deadline& in_callerDeadline)
{
    LH_CHECK_TASK_THREAD();
    TraceScope trace(m_logger, "OAMManager::getOM_i");
    // Reads whose callers stopped waiting give their machines back now, however long their
    // reporters take: a reporter that never answers cannot make them pile up.
    const auto now = std::chrono::steady_clock::now();
    m_pGetOMSMPool->getProxyData(0).abandonIf([now](const GetOMSM& in_sm) { return in_sm.callerHasGone(now); });
    const auto foundOwn = m_OMHash.find(in_szOMName);
    if (foundOwn != m_OMHash.end()) {
        LH_DEBUG(m_logger, in_szOMName << " is handled by the OAMManager");
        ParameterValue value;
        io_future.set(foundOwn->second->getOMValue(in_szOMName, value) ? Fallible<ParameterValue>(value)
                                                                    : Fallible<ParameterValue>());
        return MO_CALL_SUCCESS;
    }
    if (m_vOMReporter.empty()) {
        LH_WARN(m_logger, "OAMManager has no registered OMReporter. No OM available!");
        io_future.set(Fallible<ParameterValue>());
        return MO_CALL_SUCCESS;
    }

    if (in_callerDeadline.isLimited() && now >= in_callerDeadline.get()) {
        LH_DEBUG(m_logger, "Error getting OM " << in_szOMName << " : its caller stopped waiting before it was read");
        io_future.set(Fallible<ParameterValue>());
        return MO_CALL_SUCCESS;
    }

    // From here on only the registrations of the observers keep the machine out of the pool.
    const GetOMSMPtr pGetOMSM = m_pGetOMSMPool->acquire();
    const auto foundIndex = m_OMReporterIndexHash.find(in_szOMName);
    const bool bQueryAllReporters = foundIndex == m_OMReporterIndexHash.end();
    pGetOMSM->start(this, in_szOMName, io_future, bQueryAllReporters, in_callerDeadline);
    if (!bQueryAllReporters)
        return askReporter_i(pGetOMSM, foundIndex->second, in_szOMName) ? MO_CALL_SUCCESS : MO_CALL_FAILURE;
    for (std::uint64_t ui = 0; ui < m_vOMReporter.size(); ++ui) {
        // The reporters after a refusing one are not asked; the machine gives the caller its
        // invalid result once the observers of those asked are all gone without a success.
        if (!askReporter_i(pGetOMSM, ui, in_szOMName))
            return MO_CALL_FAILURE;
    }
    return MO_CALL_SUCCESS;
}

bool OAMManager::askReporter_i(const GetOMSMPtr& in_pGetOMSM, std::uint64_t in_uiReporterIndex, const char* in_szOMName)
{
    TaskObjectPool<GetOMSM>::ProxyData& proxyData = m_pGetOMSMPool->getProxyData(0);
    auto* const pProxy =
        new OMObserverProxy(proxyData.getIDGenerator(), *getActivationQueue(), proxyData, *this, in_uiReporterIndex);
    // Registered before the reporter may answer, on this thread, behind this method object.
    proxyData.setObject(pProxy->getProxyID(), in_pGetOMSM);
    return m_vOMReporter[in_uiReporterIndex]->getOM(in_szOMName, pProxy);
}

MOCallStatus OAMManager::proxyDestruction_i(std::uint64_t in_ulProxyId)
{
    LH_CHECK_TASK_THREAD();
    TraceScope trace(m_logger, "OAMManager::proxyDestruction_i");
    return m_pGetOMSMPool->getProxyData(0).releaseProxy(in_ulProxyId, "! pGetOMSM.isNull()", m_logger, m_logger)
               ? MO_CALL_SUCCESS
               : MO_CALL_FAILURE;
}
