#include "host/thread/Task.h"

#include <ace/Method_Request.h>

#include "host/core/AceCleanupLogger.h"
#include "host/thread/ActivationQueue.h"

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

bool Task::enqueue(ActivationQueue* in_pQueue, ACE_Method_Request* in_pMO, const char* in_szDescription)
{
    if (in_pQueue)
        return in_pQueue->enqueueMO(in_pMO, in_szDescription);
    LH_ERROR(AceCleanupLogger::get("linkhaven.thread.Task"),
             in_szDescription << " : method object refused by the activation queue");
    delete in_pMO;
    return false;
}
