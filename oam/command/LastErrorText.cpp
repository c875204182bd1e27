#include "oam/command/LastErrorText.h"

#include <cerrno>

#include <ace/OS_NS_errno.h>
#include <ace/OS_NS_string.h>

const char* lastErrorText()
{
    int nError = errno;
    if (nError == 0)
        nError = ACE_OS::last_error();
    return ACE_OS::strerror(nError);
}
