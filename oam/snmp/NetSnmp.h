#pragma once
// net-snmp's agent headers, in the order they must come. Only the subagent's own files include
// this: nothing a host includes brings net-snmp in.

#include <net-snmp/net-snmp-config.h>
// The config header comes first; the formatter must not put it after the others.
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>
// The agent's callbacks, among them those that tell when the master agent comes and goes.
#include <net-snmp/agent/agent_callbacks.h>
