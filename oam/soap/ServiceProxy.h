#pragma once
// The client proxy of the service: a SOAP context of its own with the service's namespace table,
// and the endpoint that its three calls go to with an empty SOAPAction. Each call gives 0 when
// the operation's own response was received and read, otherwise the runtime's error code; with
// no context (none could be made) every call gives SOAP_EOM.
//
// One thread at a time; the context's storage is counted under the account "gsoap".

#include <string>

#include "oam/soap/OAMClientSecurity.h"
#include "oam/soap/SoapOAMRecords.h"

namespace SoapOAM {

class ServiceProxy
{
  public:
    ServiceProxy();
    virtual ~ServiceProxy();
    ServiceProxy(const ServiceProxy&) = delete;
    ServiceProxy& operator=(const ServiceProxy&) = delete;

    virtual int SoapOAM__getOM(std::string in_strOmName, std::string& out_strOM);
    virtual int SoapOAM__executeCommand(SoapOAM__OAMCommand* in_pCmd, SoapOAM__OAMCommandExecResult& out_result);
    virtual int SoapOAM__getPSTNChannelStatus(SoapOAM__getPSTNChannelStatusResponse& out_status);

    // Null until set: the service's default endpoint. Not owned; it must outlive the calls.
    void setEndpoint(const char* in_szEndpoint) { m_szEndpoint = in_szEndpoint; }
    struct soap* getContext() const { return m_pSoap; }
    // Kept for the calls that follow. False with a one-line reason when TLS cannot be set up.
    bool setSecurity(const OAMClientSecurity& in_security, std::string& out_strError);

  private:
    struct soap* const m_pSoap;
    const char* m_szEndpoint = nullptr;
    // The context points into it.
    OAMClientSecurity m_security;
};

} // namespace SoapOAM
