#pragma once
// Receives the answer to one OM request, on the reporter's thread. Whoever is handed an observer
// owns it from then on, tells it at most once, and deletes it. An observer deleted without having
// been told is the asker's sign that no answer will come (the request was refused, dropped unrun
// with its task's queue, or its handler failed unexpectedly): one whose asker blocks ends the wait
// from its destructor.

#include "host/core/ParameterValue.h"

class OMObserver
{
  public:
    virtual ~OMObserver() = default;
    // The OM was read and has this value. True when the observer accepted the news.
    virtual bool getOMSuccess(const char* in_szOMName, const ParameterValue& in_value) = 0;
    // The OM could not be read. True when the observer accepted the news.
    virtual bool getOMFailure(const char* in_szOMName) = 0;
};
