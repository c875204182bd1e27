#pragma once
// Reports OMs asynchronously. Called on any thread; the answer comes later, from the reporter's
// thread, through the observer.

#include "host/thread/Object.h"

class OMObserver;

class OMReporter : public virtual Object
{
  public:
    // The observer belongs to the reporter from this call on, whatever the call gives. True: the
    // request was queued, and the observer will be told once or, should the request never run,
    // deleted untold. False: the request could not be queued; the observer is deleted untold.
    virtual bool getOM(const char* in_szOMName, OMObserver* in_pObserver) = 0;
};
