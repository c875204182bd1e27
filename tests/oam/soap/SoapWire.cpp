#include "tests/oam/soap/SoapWire.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <sstream>

#include "oam/soap/SoapContext.h"
#include "oam/soap/SoapOAMServe.h"

namespace {
int s_captureFd = -1;

SOAP_SOCKET openCaptureSocket(struct soap*, const char*, const char*, int)
{
    return s_captureFd;
}

// Reads until the peer closes; out_bClosed is false when the read ended otherwise (a time-out).
std::string readAll(int in_fd, bool& out_bClosed)
{
    std::string strData;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(in_fd, buffer, sizeof buffer)) > 0)
        strData.append(buffer, static_cast<size_t>(n));
    out_bClosed = n == 0;
    return strData;
}

// The first end is left to the context when it still holds it.
void closePair(const int in_fds[2], bool in_bFirstClosed)
{
    if (!in_bFirstClosed)
        ::close(in_fds[0]);
    ::close(in_fds[1]);
}
} // namespace

HttpMessage splitHttp(const std::string& in_strRaw)
{
    HttpMessage message;
    message.strStatusLine = in_strRaw.substr(0, in_strRaw.find("\r\n"));
    const size_t bodyPos = in_strRaw.find("\r\n\r\n");
    if (bodyPos != std::string::npos)
        message.strEnvelope = in_strRaw.substr(bodyPos + 4);
    return message;
}

std::string serveEnvelope(const std::string& in_strEnvelope, SoapOAMOperations* in_pOperations)
{
    std::ostringstream request;
    request << "POST / HTTP/1.1\r\nHost: localhost\r\nContent-Type: text/xml; charset=utf-8\r\n"
            << "Content-Length: " << in_strEnvelope.size() << "\r\nSOAPAction: \"\"\r\n\r\n"
            << in_strEnvelope;
    std::istringstream is(request.str());
    std::ostringstream os;
    {
        SoapContext context;
        struct soap* const pSoap = context.get();
        pSoap->is = &is;
        pSoap->os = &os;
        pSoap->user = in_pOperations;
        serveSoapOAMRequest(pSoap);
    }
    return os.str();
}

std::string serveOverSocket(const std::string& in_strRawRequest, SoapOAMOperations* in_pOperations)
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return {};
    const timeval limit{5, 0};
    ::setsockopt(fds[1], SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    if (::write(fds[1], in_strRawRequest.data(), in_strRawRequest.size()) != static_cast<ssize_t>(in_strRawRequest.size()))
        return {};
    std::string strAnswer;
    bool bClosedBySoap;
    {
        SoapContext context;
        struct soap* const pSoap = context.get();
        pSoap->socket = fds[0];
        pSoap->user = in_pOperations;
        serveSoapOAMRequest(pSoap);
        bClosedBySoap = !soap_valid_socket(pSoap->socket);
        bool bPeerClosed;
        strAnswer = readAll(fds[1], bPeerClosed);
        if (!bPeerClosed)
            strAnswer += "[connection left open]";
    }
    closePair(fds, bClosedBySoap);
    return strAnswer;
}

std::string captureRequest(const std::function<void(struct soap*)>& in_call)
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return {};
    std::string strRequest;
    bool bClosedBySoap;
    {
        SoapContext context;
        struct soap* const pSoap = context.get();
        s_captureFd = fds[0];
        pSoap->fopen = openCaptureSocket;
        in_call(pSoap);
        ::shutdown(fds[0], SHUT_WR); // the read below then ends with the request
        bool bPeerClosed;
        strRequest = readAll(fds[1], bPeerClosed);
        bClosedBySoap = pSoap->socket == fds[0];
    }
    closePair(fds, bClosedBySoap);
    return strRequest;
}

int receiveAnswer(const std::string& in_strRawAnswer, const std::function<int(struct soap*)>& in_receive)
{
    std::istringstream is(in_strRawAnswer);
    SoapContext context;
    struct soap* const pSoap = context.get();
    pSoap->is = &is;
    return in_receive(pSoap);
}

std::string envelopeAround(const std::string& in_strBody, const std::string& in_strHeader)
{
    return "<?xml version=\"1.0\"?>"
           "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:SoapOAM=\"urn:SoapOAM\">" +
           in_strHeader + "<SOAP-ENV:Body>" + in_strBody + "</SOAP-ENV:Body></SOAP-ENV:Envelope>";
}
