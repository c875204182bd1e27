#pragma once
// The service's records, as the toolkit generates them, under the names the module uses.

#include "SoapOAMH.h"

using SoapOAM::SoapOAM__OAMCommand;
using SoapOAM::SoapOAM__OAMCommandExecResult;
using SoapOAM::SoapOAM__getPSTNChannelStatusResponse;

// The service's namespace table, defined once in the module; server and client install it.
extern SOAP_NMAC struct Namespace namespaces[];
