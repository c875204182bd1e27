#pragma once

#include <string>

#include "host/core/Logger.h"
#include "oam/soap/SoapOAMRecords.h"

// What serves the service's three operations. The server attaches it to the SOAP context's user
// data; the dispatcher's operation functions hand each request to it on the thread that serves the
// connection. Each operation gives 0 for success and -1 for a fault.
class SoapOAMOperations
{
  public:
    virtual ~SoapOAMOperations() = default;

    virtual int executeCommand(struct soap* io_pSoap, SoapOAM__OAMCommand* in_pCmd,
                               SoapOAM__OAMCommandExecResult& out_result) = 0;
    virtual int getOM(struct soap* io_pSoap, const std::string& in_strOmName, std::string& out_strOM) = 0;
    virtual int getPSTNChannelStatus(struct soap* io_pSoap, SoapOAM__getPSTNChannelStatusResponse& out_status) = 0;

    // The user data is stored and read back as this very type: a class that derives from it among
    // other bases is converted on the way in, never cast from void* to anything else.
    static void attachTo(struct soap* io_pSoap, SoapOAMOperations* in_pOperations) { io_pSoap->user = in_pOperations; }
    static SoapOAMOperations* of(const struct soap* in_pSoap) { return static_cast<SoapOAMOperations*>(in_pSoap->user); }

    // "linkhaven.oam.ManagerWsJRunnable": the web service's operations log there.
    static const Logger& operationsLogger();
};
