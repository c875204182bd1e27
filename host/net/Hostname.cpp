#include "host/net/Hostname.h"

#include <climits>
#include <unistd.h>

bool getHostname(std::string& out_strName)
{
    char szName[HOST_NAME_MAX + 1] = {};
    // gethostname need not terminate a truncated name; the last byte stays 0.
    if (gethostname(szName, sizeof(szName) - 1) != 0 || szName[0] == '\0')
        return false;
    out_strName = szName;
    return true;
}
