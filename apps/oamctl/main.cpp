// linkhaven-oamctl: the operator's command-line tool for a linkhaven gateway's OAM web service.

#include <csignal>
#include <cstdlib>
#include <iostream>

#include "apps/oamctl/OamCtl.h"
#include "apps/oamctl/OamCtlOptions.h"

int main(int argc, char** argv)
{
    // OpenSSL's socket writes raise SIGPIPE when the gateway has gone: an error is enough.
    std::signal(SIGPIPE, SIG_IGN);
    return runOamCtl(argc, argv, std::getenv(OamCtlOptions::ENDPOINT_VARIABLE), std::cout, std::cerr,
                     std::getenv(OamCtlOptions::PASSWORD_VARIABLE));
}
