#include "tests/oam/soap/SoapWire.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <sstream>

#include "oam/soap/SoapOAMServe.h"

namespace {
int s_captureFd = -1;

SOAP_SOCKET openCaptureSocket(struct soap*, const char*, const char*, int)
{
    return s_captureFd;
}

std::string readAll(int in_fd)
{
    std::string strData;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(in_fd, buffer, sizeof buffer)) > 0)
        strData.append(buffer, static_cast<size_t>(n));
    return strData;
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
    struct soap* pSoap = soap_new();
    pSoap->is = &is;
    pSoap->os = &os;
    pSoap->user = in_pOperations;
    serveSoapOAMRequest(pSoap);
    soap_destroy(pSoap);
    soap_end(pSoap);
    soap_free(pSoap);
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
    struct soap* pSoap = soap_new();
    pSoap->socket = fds[0];
    pSoap->user = in_pOperations;
    serveSoapOAMRequest(pSoap);
    const bool bClosedBySoap = !soap_valid_socket(pSoap->socket);
    std::string strAnswer;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fds[1], buffer, sizeof buffer)) > 0)
        strAnswer.append(buffer, static_cast<size_t>(n));
    if (n < 0)
        strAnswer += "[connection left open]";
    soap_destroy(pSoap);
    soap_end(pSoap);
    soap_free(pSoap);
    if (!bClosedBySoap)
        ::close(fds[0]);
    ::close(fds[1]);
    return strAnswer;
}

std::string captureRequest(const std::function<void(struct soap*)>& in_call)
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return {};
    struct soap* pSoap = soap_new();
    s_captureFd = fds[0];
    pSoap->fopen = openCaptureSocket;
    in_call(pSoap);
    ::shutdown(fds[0], SHUT_WR); // the read below then ends with the request
    const std::string strRequest = readAll(fds[1]);
    const bool bClosedBySoap = pSoap->socket == fds[0];
    soap_destroy(pSoap);
    soap_end(pSoap);
    soap_free(pSoap);
    if (!bClosedBySoap)
        ::close(fds[0]);
    ::close(fds[1]);
    return strRequest;
}

int receiveAnswer(const std::string& in_strRawAnswer, const std::function<int(struct soap*)>& in_receive)
{
    std::istringstream is(in_strRawAnswer);
    struct soap* pSoap = soap_new();
    pSoap->is = &is;
    const int status = in_receive(pSoap);
    soap_destroy(pSoap);
    soap_end(pSoap);
    soap_free(pSoap);
    return status;
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
