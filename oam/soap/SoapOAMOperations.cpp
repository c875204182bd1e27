#include "oam/soap/SoapOAMOperations.h"

// The dispatcher calls these by name; they hand the request to whoever serves the context.

namespace {
SoapOAMOperations* operationsOf(struct soap* in_pSoap)
{
    return static_cast<SoapOAMOperations*>(in_pSoap->user);
}
} // namespace

namespace SoapOAM {

int SoapOAM__executeCommand(struct soap* io_pSoap, SoapOAM__OAMCommand* in_cmd, SoapOAM__OAMCommandExecResult& result)
{
    SoapOAMOperations* pOperations = operationsOf(io_pSoap);
    return pOperations ? pOperations->executeCommand(io_pSoap, in_cmd, result) : -1;
}

int SoapOAM__getOM(struct soap* io_pSoap, std::string in_strOmName, std::string& out_strOM)
{
    SoapOAMOperations* pOperations = operationsOf(io_pSoap);
    if (!pOperations) {
        out_strOM.clear();
        return -1;
    }
    return pOperations->getOM(io_pSoap, in_strOmName, out_strOM);
}

int SoapOAM__getPSTNChannelStatus(struct soap* io_pSoap, SoapOAM__getPSTNChannelStatusResponse& result)
{
    SoapOAMOperations* pOperations = operationsOf(io_pSoap);
    if (!pOperations) {
        result.m_errorcode = -1;
        return -1;
    }
    return pOperations->getPSTNChannelStatus(io_pSoap, result);
}

} // namespace SoapOAM
