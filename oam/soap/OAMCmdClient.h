#pragma once
// Sends one administration command to an OAM web service and gives its outcome. Keeps no state:
// each call has a SOAP context of its own, so any thread may call at the same time.

#include <string>
#include <vector>

#include "oam/soap/OAMClientSecurity.h"

class OAMCmdClient
{
  public:
    OAMCmdClient& operator=(const OAMCmdClient&) { return *this; }

    // The command's success flag, with statusText replaced by the service's status text; false,
    // with statusText untouched and one error line logged, when the call itself failed (refused,
    // timed out, a fault, or an answer other than the command's result). Time-outs in ms, 0: none.
    static bool executeCommand(const std::string& cmdName, const std::vector<std::string>& args,
                               const std::string& endpoint, std::string& statusText, int connectTimeoutMs,
                               int recvTimeoutMs, int sendTimeoutMs);
    // The same over https or with credentials, as the security says.
    static bool executeCommand(const std::string& cmdName, const std::vector<std::string>& args,
                               const std::string& endpoint, const OAMClientSecurity& security,
                               std::string& statusText, int connectTimeoutMs, int recvTimeoutMs, int sendTimeoutMs);
};
