#include "oam/soap/SoapOAMCheckedCalls.h"

namespace {
// The generated receivers' steps, with the response read by in_readResponse under its own name.
template <class ReadResponse>
int receiveResponse(struct soap* io_pSoap, ReadResponse in_readResponse)
{
    if (soap_begin_recv(io_pSoap) || soap_envelope_begin_in(io_pSoap) || soap_recv_header(io_pSoap) ||
        soap_body_begin_in(io_pSoap))
        return soap_closesock(io_pSoap);
    if (soap_recv_fault(io_pSoap, 1))
        return io_pSoap->error;
    if (!in_readResponse() || io_pSoap->error)
        return soap_recv_fault(io_pSoap, 0);
    if (soap_body_end_in(io_pSoap) || soap_envelope_end_in(io_pSoap) || soap_end_recv(io_pSoap))
        return soap_closesock(io_pSoap);
    return soap_closesock(io_pSoap);
}
} // namespace

int callExecuteCommand(struct soap* io_pSoap, const char* in_szEndpoint, const char* in_szAction,
                       SoapOAM__OAMCommand* in_pCmd, SoapOAM__OAMCommandExecResult& out_result)
{
    if (SoapOAM::soap_send_SoapOAM__executeCommand(io_pSoap, in_szEndpoint, in_szAction, in_pCmd))
        return io_pSoap->error;
    out_result.soap_default(io_pSoap);
    return receiveResponse(io_pSoap, [&] {
        return SoapOAM::soap_get_SoapOAM__OAMCommandExecResult(io_pSoap, &out_result, "SoapOAM:OAMCommandExecResult",
                                                               nullptr) != nullptr;
    });
}

int callGetOM(struct soap* io_pSoap, const char* in_szEndpoint, const char* in_szAction, const std::string& in_strOmName,
              std::string& out_strOM)
{
    if (SoapOAM::soap_send_SoapOAM__getOM(io_pSoap, in_szEndpoint, in_szAction, in_strOmName))
        return io_pSoap->error;
    out_strOM.clear();
    SoapOAM::SoapOAM__getOMResponse response;
    SoapOAM::soap_default_SoapOAM__getOMResponse(io_pSoap, &response);
    const int nStatus = receiveResponse(io_pSoap, [&] {
        return SoapOAM::soap_get_SoapOAM__getOMResponse(io_pSoap, &response, "SoapOAM:getOMResponse", nullptr) != nullptr;
    });
    out_strOM = response.out_strOM;
    return nStatus;
}

int callGetPSTNChannelStatus(struct soap* io_pSoap, const char* in_szEndpoint, const char* in_szAction,
                             SoapOAM__getPSTNChannelStatusResponse& out_status)
{
    if (SoapOAM::soap_send_SoapOAM__getPSTNChannelStatus(io_pSoap, in_szEndpoint, in_szAction))
        return io_pSoap->error;
    out_status.soap_default(io_pSoap);
    return receiveResponse(io_pSoap, [&] {
        return SoapOAM::soap_get_SoapOAM__getPSTNChannelStatusResponse(
                   io_pSoap, &out_status, "SoapOAM:getPSTNChannelStatusResponse", nullptr) != nullptr;
    });
}
