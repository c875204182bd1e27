#include "oam/om/OMReporterTaskImpl.h"

#include <memory>

#include "host/core/AceCleanupLogger.h"
#include "host/core/Assertion.h"
#include "host/core/TraceScope.h"
#include "host/thread/ThreadChecker.h"

namespace {
// Shared by every reporter, for the life of the process.
const Logger& processLogger()
{
    static const Logger& logger = AceCleanupLogger::get("linkhaven.oam.OMReporterTaskImpl");
    return logger;
}
} // namespace

MOCallStatus OMReporterTaskImpl::getOM_i(const char* in_szOMName, OMObserver* in_pObserver)
{
    LH_CHECK_TASK_THREAD();
    const Logger& logger = processLogger();
    TraceScope trace(logger, "OMReporterTaskImpl::getOM_i");
    // Deleted on every way out, also when a handler or the observer throws: told at most once,
    // never leaked.
    std::unique_ptr<OMObserver> pObserver(in_pObserver);
    const char* const szOMName = in_szOMName ? in_szOMName : "";
    LH_DEBUG(logger, "OMReporterTaskImpl " << getTaskName() << " getting OM " << szOMName);
    if (!Assertion(pObserver != nullptr, "in_pObserver != 0", __FILE__, __LINE__))
        return MO_CALL_FAILURE;

    const auto foundHandler = m_OMHash.find(szOMName);
    if (foundHandler == m_OMHash.end()) {
        LH_DEBUG(logger, "getOMFailure : Did NOT find this OM in the hash");
        return pObserver->getOMFailure(szOMName) ? MO_CALL_SUCCESS : MO_CALL_FAILURE;
    }
    if (!Assertion(!foundHandler->second.isNull(), "! foundHandler->second.isNull()", __FILE__, __LINE__))
        return MO_CALL_FAILURE;

    // Held here, so that a handler that changes the table does not delete itself under way.
    const OMHandlerPtr pHandler = foundHandler->second;
    ParameterValue value;
    if (!pHandler->getOMValue(szOMName, value)) {
        LH_DEBUG(logger, "getOMFailure : OM handler failed");
        return pObserver->getOMFailure(szOMName) ? MO_CALL_SUCCESS : MO_CALL_FAILURE;
    }
    LH_DEBUG(logger, "getOMSuccess : " << szOMName << " = " << value);
    return pObserver->getOMSuccess(szOMName, value) ? MO_CALL_SUCCESS : MO_CALL_FAILURE;
}
