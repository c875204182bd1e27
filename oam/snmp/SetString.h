#pragma once
// Sets a variable to a DisplayString, cut at the 255 octets that the type allows. The subagent's
// thread only.

#include <string>

#include "oam/snmp/NetSnmp.h"

bool setDisplayString(netsnmp_variable_list* io_pVar, const std::string& in_strText);
