#include "oam/soap/SoapRequestCount.h"

#include "oam/soap/SoapOAMRecords.h"

namespace {
thread_local OAMTrafficCounters::SoapOperation t_operation = OAMTrafficCounters::OTHER_OPERATION;

OAMTrafficCounters::SoapOutcome outcomeOf(int in_nServeStatus)
{
    if (in_nServeStatus == SOAP_OK)
        return OAMTrafficCounters::REQUEST_ANSWERED;
    // The connection's own failures; every other status was sent to the client as a fault.
    if (in_nServeStatus == SOAP_EOF || in_nServeStatus == SOAP_TCP_ERROR || in_nServeStatus >= SOAP_STOP)
        return OAMTrafficCounters::REQUEST_DROPPED;
    return OAMTrafficCounters::REQUEST_FAULTED;
}
} // namespace

void noteSoapOperation(OAMTrafficCounters::SoapOperation in_operation) { t_operation = in_operation; }

void countSoapRequest(OAMTrafficCounters& io_counters, int in_nServeStatus)
{
    io_counters.countSoapRequest(t_operation, outcomeOf(in_nServeStatus));
    t_operation = OAMTrafficCounters::OTHER_OPERATION;
}
