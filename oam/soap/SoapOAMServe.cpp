#include "oam/soap/SoapOAMServe.h"

#include <algorithm>
#include <string>

#include "oam/soap/RequestBounds.h"
#include "oam/soap/SoapOAMRecords.h"

namespace {
// The runtime reads past a body's Content-Length whenever the XML wants more, and would then wait
// for bytes that the client never sends; so the body ends at its length and reads as end of file
// there. The serve call runs on one thread from start to end, which keeps the limit per thread.
thread_local ULONG64 t_ullBodyEnd = 0;
thread_local size_t (*t_pRecv)(struct soap*, char*, size_t) = nullptr;

size_t recvWithinBody(struct soap* io_pSoap, char* out_pBuffer, size_t in_uiSize)
{
    if (io_pSoap->count >= t_ullBodyEnd)
        return 0;
    return t_pRecv(io_pSoap, out_pBuffer, static_cast<size_t>(std::min<ULONG64>(in_uiSize, t_ullBodyEnd - io_pSoap->count)));
}

// Called once the headers are read: the body starts where the runtime's buffer stands.
class BodyLimit
{
  public:
    explicit BodyLimit(struct soap* io_pSoap) : m_pSoap(io_pSoap)
    {
        if (!io_pSoap->length || (io_pSoap->imode & SOAP_IO) == SOAP_IO_CHUNK)
            return;
        t_ullBodyEnd = io_pSoap->count - io_pSoap->buflen + io_pSoap->bufidx + io_pSoap->length;
        t_pRecv = io_pSoap->frecv;
        io_pSoap->frecv = recvWithinBody;
    }
    ~BodyLimit()
    {
        if (m_pSoap->frecv == recvWithinBody)
            m_pSoap->frecv = t_pRecv;
    }
    BodyLimit(const BodyLimit&) = delete;
    BodyLimit& operator=(const BodyLimit&) = delete;

  private:
    struct soap* const m_pSoap;
};

int answerFailure(struct soap* io_pSoap)
{
    // The runtime takes XML outside the envelope namespaces of our table for a plain POST and
    // would close the connection unanswered; the caller gets a version-mismatch fault instead.
    if (io_pSoap->error == SOAP_POST)
        io_pSoap->error = SOAP_VERSIONMISMATCH;
    if (io_pSoap->error >= SOAP_STOP)
        return soap_closesock(io_pSoap);
    return soap_send_fault(io_pSoap);
}
} // namespace

int serveSoapOAMRequest(struct soap* io_pSoap, RequestBounds* io_pBounds, RequestGate* io_pGate)
{
    // One request per connection: the connection closes after the response or the fault.
    io_pSoap->keep_alive = 0;
    soap_begin(io_pSoap);
    // Credentials are those of this request's headers or none.
    io_pSoap->userid = io_pSoap->passwd = nullptr;
    if (soap_begin_recv(io_pSoap))
        return answerFailure(io_pSoap);
    if (io_pGate && !io_pGate->admits(io_pSoap)) {
        io_pSoap->error = 401;
        return soap_send_fault(io_pSoap);
    }
    if (io_pBounds && !io_pBounds->mayGoOn(io_pSoap->length)) {
        if (io_pBounds->reached() != RequestBounds::Reached::SIZE_LIMIT)
            return soap_closesock(io_pSoap);
        const std::string strReason = "Request larger than " + std::to_string(io_pBounds->maxBytes()) + " bytes";
        soap_sender_fault(io_pSoap, strReason.c_str(), nullptr);
        return soap_send_fault(io_pSoap);
    }
    const BodyLimit limit(io_pSoap);
    if (soap_envelope_begin_in(io_pSoap) || soap_recv_header(io_pSoap) || soap_body_begin_in(io_pSoap))
        return answerFailure(io_pSoap);
    if (SoapOAM::soap_serve_request(io_pSoap) && io_pSoap->error && io_pSoap->error < SOAP_STOP)
        return soap_send_fault(io_pSoap);
    return SOAP_OK;
}
