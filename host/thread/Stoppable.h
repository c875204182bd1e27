#pragma once
// Something with work under way that can be asked to end: politely (stop) or at once (kill).

#include "host/thread/Object.h"

class Stoppable : public virtual Object
{
  public:
    virtual bool stop() = 0;
    virtual bool kill() = 0;
};
