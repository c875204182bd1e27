#include "host/thread/Task.h"

#include <ace/Activation_Queue.h>
#include <ace/Method_Request.h>

#include "host/core/AceCleanupLogger.h"

const char* Task::getStateString(State in_state)
{
    switch (in_state) {
    case STOPPED_STATE:
        return "STOPPED";
    case STARTING_STATE:
        return "STARTING";
    case RUNNING_STATE:
        return "RUNNING";
    case STOPPING_STATE:
        return "STOPPING";
    case KILLING_STATE:
        return "KILLING";
    }
    return "UNKNOWN";
}

bool Task::enqueue(ACE_Activation_Queue* in_pQueue, ACE_Method_Request* in_pMO, const char* in_szDescription)
{
    static const Logger& logger = AceCleanupLogger::get("linkhaven.thread.Task");
    if (in_pMO == nullptr) {
        LH_ERROR(logger, in_szDescription << " : no method object to queue");
        return false;
    }
    if (in_pQueue == nullptr || in_pQueue->enqueue(in_pMO) == -1) {
        LH_ERROR(logger, in_szDescription << " : method object refused by the activation queue");
        delete in_pMO;
        return false;
    }
    LH_TRACE(logger, in_szDescription << " : method object queued");
    return true;
}
