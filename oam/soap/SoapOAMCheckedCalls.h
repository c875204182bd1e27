#pragma once
// The client calls of the three operations. They send as the generated stubs do, but accept only
// the response element of the operation asked for: the generated receivers read whatever element
// the body holds, so a getOM answer would pass for a command's result. Anything else, a fault
// included, gives the runtime's non-zero error code; the output then holds its default or what
// was read before the failure. A null endpoint is the service's default one; a null action is empty.

#include <string>

#include "oam/soap/SoapOAMRecords.h"

int callExecuteCommand(struct soap* io_pSoap, const char* in_szEndpoint, const char* in_szAction,
                       SoapOAM__OAMCommand* in_pCmd, SoapOAM__OAMCommandExecResult& out_result);
int callGetOM(struct soap* io_pSoap, const char* in_szEndpoint, const char* in_szAction, const std::string& in_strOmName,
              std::string& out_strOM);
int callGetPSTNChannelStatus(struct soap* io_pSoap, const char* in_szEndpoint, const char* in_szAction,
                             SoapOAM__getPSTNChannelStatusResponse& out_status);
