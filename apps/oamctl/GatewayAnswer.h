#pragma once
// One request to a gateway's OAM web service, as the tool makes it: a command, an OM, or the
// channel status, each on a connection of its own with the tool's time-outs.

#include <string>

#include "apps/oamctl/OamCtlOptions.h"

struct GatewayAnswer
{
    // False when no answer came: refused, timed out, a fault. The reason is then one line.
    bool bAnswered = false;
    bool bSuccess = false;
    // The command's status text, or the OM's value.
    std::string strText;
    std::string strReason;

    static GatewayAnswer ask(const OamCtlOptions& in_options);
};
