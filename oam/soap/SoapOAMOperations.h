#pragma once

#include <string>

#include "oam/soap/SoapOAMRecords.h"

// What serves the service's three operations. The server puts it in the SOAP context's user data;
// the dispatcher's operation functions hand each request to it on the thread that serves the
// connection. Each operation gives 0 for success and -1 for a fault.
class SoapOAMOperations
{
  public:
    virtual ~SoapOAMOperations() = default;

    virtual int executeCommand(struct soap* io_pSoap, SoapOAM__OAMCommand* in_pCmd,
                               SoapOAM__OAMCommandExecResult& out_result) = 0;
    virtual int getOM(struct soap* io_pSoap, const std::string& in_strOmName, std::string& out_strOM) = 0;
    virtual int getPSTNChannelStatus(struct soap* io_pSoap, SoapOAM__getPSTNChannelStatusResponse& out_status) = 0;
};
