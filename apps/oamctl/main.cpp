// linkhaven-oamctl: the operator's command-line tool for a linkhaven gateway's OAM web service.

#include <cstdlib>
#include <iostream>

#include "apps/oamctl/OamCtl.h"
#include "apps/oamctl/OamCtlOptions.h"

int main(int argc, char** argv)
{
    return runOamCtl(argc, argv, std::getenv(OamCtlOptions::ENDPOINT_VARIABLE), std::cout, std::cerr);
}
