#include "host/thread/TaskObjectPoolNoT.h"

#include "host/core/AceCleanupLogger.h"

const Logger& TaskObjectPoolNoT::getLogger()
{
    return AceCleanupLogger::get("linkhaven.thread.TaskObjectPool");
}
