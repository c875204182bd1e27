#include "host/infra/RunMode.h"

#include <strings.h>

RunMode parseRunModeString(const std::string& in_strText)
{
    for (RunMode mode : {PRODUCTION_RUN_MODE, MAINTENANCE_RUN_MODE}) {
        if (strcasecmp(in_strText.c_str(), getRunModeString(mode)) == 0)
            return mode;
    }
    return NO_RUN_MODE;
}

const char* getRunModeString(RunMode in_mode)
{
    switch (in_mode) {
    case PRODUCTION_RUN_MODE:
        return "production";
    case MAINTENANCE_RUN_MODE:
        return "maintenance";
    case NO_RUN_MODE:
        break;
    }
    return "none";
}
