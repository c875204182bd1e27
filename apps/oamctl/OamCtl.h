#pragma once
// The whole of linkhaven-oamctl but for the process: parses the command line, asks the gateway and
// prints the answer. Gives the exit status: 0 success, 1 the gateway answered that it failed, 2 no
// answer or a bad command line, with one line on err.

#include <ostream>

// The environment's endpoint and password may be null.
int runOamCtl(int in_nArgc, const char* const* in_pArgv, const char* in_szEnvEndpoint, std::ostream& io_out,
              std::ostream& io_err, const char* in_szEnvPassword = nullptr);
