#pragma once
// What a client of the admin port may need beyond the endpoint: for an https endpoint, the CA
// that signed the gateway's certificate (else the system's CAs), or no verification at all; and
// HTTP Basic credentials. Empty, a client speaks as it always did.

#include <string>

struct OAMClientSecurity
{
    std::string strCaFile;
    bool bInsecure = false;
    std::string strUser; // empty: no credentials are sent
    std::string strPassword;
};
