#include "oam/soap/OAMCmdClient.h"

#include "host/core/AceCleanupLogger.h"
#include "host/core/TraceScope.h"
#include "oam/soap/ServiceProxy.h"
#include "oam/soap/SoapTimeout.h"

bool OAMCmdClient::executeCommand(const std::string& cmdName, const std::vector<std::string>& args,
                                  const std::string& endpoint, std::string& statusText, int connectTimeoutMs,
                                  int recvTimeoutMs, int sendTimeoutMs)
{
    return executeCommand(cmdName, args, endpoint, OAMClientSecurity(), statusText, connectTimeoutMs, recvTimeoutMs,
                          sendTimeoutMs);
}

bool OAMCmdClient::executeCommand(const std::string& cmdName, const std::vector<std::string>& args,
                                  const std::string& endpoint, const OAMClientSecurity& security,
                                  std::string& statusText, int connectTimeoutMs, int recvTimeoutMs,
                                  int sendTimeoutMs)
{
    static const Logger& s_logger = AceCleanupLogger::get("linkhaven.oam.CmdClient");
    TraceScope trace(s_logger, "OAMCmdClient::executeCommand");

    SoapOAM::ServiceProxy proxy;
    struct soap* const pSoap = proxy.getContext();
    std::string strError;
    if (!proxy.setSecurity(security, strError)) {
        LH_ERROR(s_logger, "SoapOAM__executeCommand failed: " << strError);
        return false;
    }
    if (pSoap) {
        proxy.setEndpoint(endpoint.c_str());
        pSoap->connect_timeout = soapTimeoutFromMs(connectTimeoutMs);
        pSoap->recv_timeout = soapTimeoutFromMs(recvTimeoutMs);
        pSoap->send_timeout = soapTimeoutFromMs(sendTimeoutMs);
    }
    SoapOAM__OAMCommand cmd;
    cmd.m_strName = cmdName;
    cmd.m_argVector = args;
    SoapOAM__OAMCommandExecResult result;
    if (proxy.SoapOAM__executeCommand(&cmd, result) != SOAP_OK) {
        LH_ERROR(s_logger, "SoapOAM__executeCommand failed");
        return false;
    }
    statusText = result.m_strStatusText;
    return result.m_bExecSuccess;
}
