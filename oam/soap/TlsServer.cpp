#include "oam/soap/TlsServer.h"

#include <pthread.h>

#include <ctime>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <stdsoap2.h>

#include "oam/soap/RequestBounds.h"

namespace {
// The session cache's context, which client certificates need for resumed sessions.
const char* const SESSION_ID_CONTEXT = "linkhaven-oam";

std::string openSslError()
{
    char szText[256] = "";
    ERR_error_string_n(ERR_get_error(), szText, sizeof szText);
    ERR_clear_error();
    return szText;
}

std::string soapError(struct soap* io_pSoap)
{
    const char* const szString = soap_fault_string(io_pSoap);
    const char* const szDetail = soap_fault_detail(io_pSoap);
    return std::string(szString ? szString : "TLS error") + (szDetail ? std::string(": ") + szDetail : "");
}

sigset_t sigpipeOnly()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGPIPE);
    return signals;
}
} // namespace

TlsServer::SigpipeBlocked::SigpipeBlocked()
{
    const sigset_t signals = sigpipeOnly();
    pthread_sigmask(SIG_BLOCK, &signals, &m_previousMask);
}

TlsServer::SigpipeBlocked::~SigpipeBlocked()
{
    const sigset_t signals = sigpipeOnly();
    const struct timespec noWait = {0, 0};
    while (sigtimedwait(&signals, nullptr, &noWait) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
}

bool TlsServer::setUp(struct soap* io_pSoap, const TlsServerFiles& in_files, std::string& out_strError)
{
    soap_ssl_init();
    const bool bClientCertificates = !in_files.strClientCaFile.empty();
    const unsigned short usFlags = SOAP_TLSv1_2 | SOAP_TLSv1_3 |
                                   (bClientCertificates ? SOAP_SSL_REQUIRE_CLIENT_AUTHENTICATION : SOAP_SSL_NO_AUTHENTICATION);
    // The runtime takes one file for key and certificate; ours are two, given to OpenSSL below.
    if (soap_ssl_server_context(io_pSoap, usFlags, nullptr, nullptr,
                                bClientCertificates ? in_files.strClientCaFile.c_str() : nullptr, nullptr, nullptr,
                                nullptr, SESSION_ID_CONTEXT)) {
        out_strError = "cannot set up TLS: " + soapError(io_pSoap);
        return false;
    }
    SSL_CTX* const pContext = io_pSoap->ctx;
    if (SSL_CTX_use_certificate_chain_file(pContext, in_files.strCertificateFile.c_str()) != 1) {
        out_strError = "cannot use the certificate file " + in_files.strCertificateFile + ": " + openSslError();
        return false;
    }
    if (SSL_CTX_use_PrivateKey_file(pContext, in_files.strKeyFile.c_str(), SSL_FILETYPE_PEM) != 1) {
        out_strError = "cannot use the key file " + in_files.strKeyFile + ": " + openSslError();
        return false;
    }
    if (SSL_CTX_check_private_key(pContext) != 1) {
        out_strError = "the key file " + in_files.strKeyFile + " does not match the certificate " +
                       in_files.strCertificateFile;
        return false;
    }
    return true;
}

bool TlsServer::accept(struct soap* io_pSoap, RequestBounds& io_bounds, std::string& out_strReason)
{
    // A client that connects and says nothing waits within the bounds, which see termination too.
    if (!io_bounds.waitForRequest()) {
        out_strReason = "nothing received";
        return false;
    }
    const int nSocket = io_pSoap->socket;
    if (!m_handshakes.add(nSocket)) {
        out_strReason = "terminating";
        return false;
    }
    // The handshake is the runtime's own loop: it gets what remains of the request's time.
    const int nRecvTimeout = io_pSoap->recv_timeout;
    const int nSendTimeout = io_pSoap->send_timeout;
    io_pSoap->recv_timeout = io_bounds.soapTimeoutWithin(nRecvTimeout);
    io_pSoap->send_timeout = io_bounds.soapTimeoutWithin(nSendTimeout);
    const int nStatus = soap_ssl_accept(io_pSoap);
    m_handshakes.remove(nSocket);
    io_pSoap->recv_timeout = nRecvTimeout;
    io_pSoap->send_timeout = nSendTimeout;
    if (nStatus == SOAP_OK)
        return true;
    out_strReason = soapError(io_pSoap);
    ERR_clear_error();
    return false;
}
