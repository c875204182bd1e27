#pragma once
// The gateway's run modes. "production" carries traffic; "maintenance" is the mode an operator
// puts a gateway in to work on it.

#include <string>

enum RunMode
{
    PRODUCTION_RUN_MODE = 0,
    MAINTENANCE_RUN_MODE = 1,
    NO_RUN_MODE = 2
};

// The mode's name in any case; NO_RUN_MODE for anything else.
RunMode parseRunModeString(const std::string& in_strText);
// "production", "maintenance", or "none".
const char* getRunModeString(RunMode in_mode);
