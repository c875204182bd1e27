#include "apps/oamctl/GatewayAnswer.h"

#include <chrono>

#include "oam/soap/ServiceProxy.h"
#include "oam/soap/SoapTimeout.h"

namespace {
// Why the call gave no answer, on one line. The runtime tells a time-out from a closed connection
// by neither its status nor its error number, so the time it took tells.
std::string reasonOf(struct soap* io_pSoap, std::chrono::milliseconds in_elapsed, int in_nRecvTimeoutMs)
{
    if (io_pSoap->error == SOAP_EOF) {
        if (in_nRecvTimeoutMs > 0 && in_elapsed.count() >= in_nRecvTimeoutMs)
            return "no answer within " + std::to_string(in_nRecvTimeoutMs) + " ms";
        return "the connection was closed without an answer";
    }
    if (io_pSoap->error >= 100 && io_pSoap->error < 600)
        return "HTTP status " + std::to_string(io_pSoap->error);
    const char* const szString = soap_fault_string(io_pSoap);
    const char* const szDetail = soap_fault_detail(io_pSoap);
    std::string strText = szString && *szString ? szString : "SOAP error " + std::to_string(io_pSoap->error);
    if (szDetail && *szDetail)
        strText += std::string(" (") + szDetail + ")";
    for (char& c : strText) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return strText;
}

} // namespace

GatewayAnswer GatewayAnswer::ask(const OamCtlOptions& in_options)
{
    GatewayAnswer answer;
    SoapOAM::ServiceProxy proxy;
    struct soap* const pSoap = proxy.getContext();
    if (!pSoap) {
        answer.strReason = "out of memory";
        return answer;
    }
    if (!proxy.setSecurity(in_options.security, answer.strReason))
        return answer;
    proxy.setEndpoint(in_options.strEndpoint.c_str());
    pSoap->connect_timeout = soapTimeoutFromMs(in_options.nConnectTimeoutMs);
    pSoap->recv_timeout = soapTimeoutFromMs(in_options.nRecvTimeoutMs);
    pSoap->send_timeout = soapTimeoutFromMs(in_options.nSendTimeoutMs);

    const auto start = std::chrono::steady_clock::now();
    int nStatus = SOAP_OK;
    if (in_options.request == OamCtlOptions::READ_OM) {
        nStatus = proxy.SoapOAM__getOM(in_options.strName, answer.strText);
        answer.bSuccess = true;
    } else if (in_options.request == OamCtlOptions::READ_CHANNEL_STATUS) {
        SoapOAM__getPSTNChannelStatusResponse status;
        nStatus = proxy.SoapOAM__getPSTNChannelStatus(status);
        answer.bSuccess = status.m_errorcode == 0;
        answer.strText = status.m_value;
    } else {
        SoapOAM__OAMCommand cmd;
        cmd.m_strName = in_options.strName;
        cmd.m_argVector = in_options.vArgs;
        SoapOAM__OAMCommandExecResult result;
        nStatus = proxy.SoapOAM__executeCommand(&cmd, result);
        answer.bSuccess = result.m_bExecSuccess;
        answer.strText = result.m_strStatusText;
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    answer.bAnswered = nStatus == SOAP_OK;
    if (!answer.bAnswered) {
        answer.bSuccess = false;
        answer.strText.clear();
        const bool bFault = nStatus == SOAP_FAULT || nStatus == SOAP_CLI_FAULT || nStatus == SOAP_SVR_FAULT;
        answer.strReason = nStatus == 401 ? "authentication failed"
                           : bFault       ? "the gateway answered with a fault: " + reasonOf(pSoap, elapsed, 0)
                                  : "no answer from " + in_options.strEndpoint + ": " +
                                        reasonOf(pSoap, elapsed, in_options.nRecvTimeoutMs);
    }
    return answer;
}
