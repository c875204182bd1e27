#include "oam/soap/ServiceProxy.h"

#include <sys/socket.h>

#include <new>

#include "host/core/DefaultStaticMemAllocator.h"
#include "oam/soap/IdentityEncoding.h"
#include "oam/soap/SoapOAMCheckedCalls.h"

namespace {
const char* const MEM_ACCOUNT = "gsoap";

// Null when there is no memory for it: every call then says so.
struct soap* newAccountedContext()
{
    void* pStorage = nullptr;
    try {
        pStorage = DefaultStaticMemAllocator::allocate(sizeof(struct soap), MEM_ACCOUNT);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    struct soap* const pSoap = new (pStorage) soap(SOAP_IO_DEFAULT);
    soap_set_namespaces(pSoap, namespaces);
    // A server that closes early gives an error, not a SIGPIPE that ends the caller's process.
    pSoap->socket_flags = MSG_NOSIGNAL;
    announceNoCompression(pSoap);
    return pSoap;
}
} // namespace

namespace SoapOAM {

ServiceProxy::ServiceProxy() : m_pSoap(newAccountedContext()) {}

ServiceProxy::~ServiceProxy()
{
    if (!m_pSoap)
        return;
    soap_destroy(m_pSoap);
    soap_end(m_pSoap);
    m_pSoap->~soap(); // the runtime's done call
    DefaultStaticMemAllocator::deallocate(m_pSoap, sizeof(struct soap), MEM_ACCOUNT);
}

bool ServiceProxy::setSecurity(const OAMClientSecurity& in_security, std::string& out_strError)
{
    if (!m_pSoap) {
        out_strError = "out of memory";
        return false;
    }
    m_security = in_security;
    m_pSoap->userid = m_security.strUser.empty() ? nullptr : m_security.strUser.c_str();
    m_pSoap->passwd = m_security.strUser.empty() ? nullptr : m_security.strPassword.c_str();
    // Without either, an https endpoint is verified against the system's CAs by the runtime itself.
    if (m_security.strCaFile.empty() && !m_security.bInsecure)
        return true;
    const unsigned short usFlags =
        SOAP_TLSv1_2 | SOAP_TLSv1_3 | (m_security.bInsecure ? SOAP_SSL_NO_AUTHENTICATION : SOAP_SSL_DEFAULT);
    const char* const szCaFile = m_security.strCaFile.empty() ? nullptr : m_security.strCaFile.c_str();
    if (soap_ssl_client_context(m_pSoap, usFlags, nullptr, nullptr, szCaFile, nullptr, nullptr) == SOAP_OK)
        return true;
    const char* const szDetail = soap_fault_detail(m_pSoap);
    out_strError = "cannot set up TLS" + (szDetail ? std::string(": ") + szDetail : std::string());
    return false;
}

int ServiceProxy::SoapOAM__getOM(std::string in_strOmName, std::string& out_strOM)
{
    return m_pSoap ? callGetOM(m_pSoap, m_szEndpoint, nullptr, in_strOmName, out_strOM) : SOAP_EOM;
}

int ServiceProxy::SoapOAM__executeCommand(SoapOAM__OAMCommand* in_pCmd, SoapOAM__OAMCommandExecResult& out_result)
{
    return m_pSoap ? callExecuteCommand(m_pSoap, m_szEndpoint, nullptr, in_pCmd, out_result) : SOAP_EOM;
}

int ServiceProxy::SoapOAM__getPSTNChannelStatus(SoapOAM__getPSTNChannelStatusResponse& out_status)
{
    return m_pSoap ? callGetPSTNChannelStatus(m_pSoap, m_szEndpoint, nullptr, out_status) : SOAP_EOM;
}

} // namespace SoapOAM
