#include "oam/soap/SoapOAMServe.h"

#include "oam/soap/SoapOAMRecords.h"

int serveSoapOAMRequest(struct soap* io_pSoap)
{
    // One request per connection: the connection closes after the response or the fault.
    io_pSoap->keep_alive = 0;
    soap_begin(io_pSoap);
    if (soap_begin_recv(io_pSoap) || soap_envelope_begin_in(io_pSoap) || soap_recv_header(io_pSoap) ||
        soap_body_begin_in(io_pSoap)) {
        // The runtime takes XML outside the envelope namespaces of our table for a plain POST and
        // would close the connection unanswered; the caller gets a version-mismatch fault instead.
        if (io_pSoap->error == SOAP_POST)
            io_pSoap->error = SOAP_VERSIONMISMATCH;
        if (io_pSoap->error >= SOAP_STOP)
            return soap_closesock(io_pSoap);
        return soap_send_fault(io_pSoap);
    }
    if (SoapOAM::soap_serve_request(io_pSoap) && io_pSoap->error && io_pSoap->error < SOAP_STOP)
        return soap_send_fault(io_pSoap);
    return SOAP_OK;
}
