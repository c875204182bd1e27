#include "oam/soap/SoapOAMOperations.h"

#include "host/core/AceCleanupLogger.h"
#include "host/core/Assertion.h"
#include "host/core/TraceScope.h"
#include "oam/soap/SoapRequestCount.h"

const Logger& SoapOAMOperations::operationsLogger()
{
    static const Logger& s_logger = AceCleanupLogger::get("linkhaven.oam.ManagerWsJRunnable");
    return s_logger;
}

namespace {
// A failed operation gives -1, the runtime's end-of-file status. Given back as it is, a context
// with I/O time-outs takes it for a connection that went away and answers nothing; so the fault
// is sent as a fault of its own: the one the operation filled in to say why, or else the one the
// runtime chooses for that status.
int faultOnFailure(struct soap* io_pSoap, int in_nStatus)
{
    if (in_nStatus == SOAP_OK)
        return SOAP_OK;
    if (io_pSoap->error != SOAP_FAULT) {
        io_pSoap->error = in_nStatus;
        soap_set_fault(io_pSoap);
    }
    return io_pSoap->error = SOAP_FAULT;
}
} // namespace

// The dispatcher calls these by name; they hand the request to whoever serves the context.
namespace SoapOAM {

int SoapOAM__executeCommand(struct soap* io_pSoap, SoapOAM__OAMCommand* in_cmd, SoapOAM__OAMCommandExecResult& result)
{
    TraceScope trace(SoapOAMOperations::operationsLogger(), "SoapOAM__executeCommand");
    noteSoapOperation(OAMTrafficCounters::EXECUTE_COMMAND);
    SoapOAMOperations* const pWsJRunnable = SoapOAMOperations::of(io_pSoap);
    if (!Assertion(pWsJRunnable != nullptr, "pWsJRunnable != 0", __FILE__, __LINE__,
                   SoapOAMOperations::operationsLogger()))
        return faultOnFailure(io_pSoap, -1);
    return faultOnFailure(io_pSoap, pWsJRunnable->executeCommand(io_pSoap, in_cmd, result));
}

int SoapOAM__getOM(struct soap* io_pSoap, std::string in_strOmName, std::string& out_strOM)
{
    TraceScope trace(SoapOAMOperations::operationsLogger(), "SoapOAM__getOM");
    noteSoapOperation(OAMTrafficCounters::GET_OM);
    SoapOAMOperations* const pWsJRunnable = SoapOAMOperations::of(io_pSoap);
    if (!pWsJRunnable) {
        out_strOM.clear();
        return faultOnFailure(io_pSoap, -1);
    }
    return faultOnFailure(io_pSoap, pWsJRunnable->getOM(io_pSoap, in_strOmName, out_strOM));
}

int SoapOAM__getPSTNChannelStatus(struct soap* io_pSoap, SoapOAM__getPSTNChannelStatusResponse& result)
{
    TraceScope trace(SoapOAMOperations::operationsLogger(), "SoapOAM__getPSTNChannelStatus");
    noteSoapOperation(OAMTrafficCounters::GET_PSTN_CHANNEL_STATUS);
    SoapOAMOperations* const pWsJRunnable = SoapOAMOperations::of(io_pSoap);
    if (!pWsJRunnable) {
        result.m_errorcode = -1;
        return faultOnFailure(io_pSoap, -1);
    }
    return faultOnFailure(io_pSoap, pWsJRunnable->getPSTNChannelStatus(io_pSoap, result));
}

} // namespace SoapOAM
