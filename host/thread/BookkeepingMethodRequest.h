#pragma once
// A method object that carries bookkeeping of its task (a registration to clear, an identifier to
// give back) which must not be lost when the task's run ends before the object has run: the
// task's thread then calls runEnded_i as it drops the object. Destroyed any other way unrun (the
// task itself being destroyed), it does nothing.

#include <ace/Method_Request.h>

class BookkeepingMethodRequest : public ACE_Method_Request
{
  public:
    // Task thread, at the end of a run, instead of call().
    virtual void runEnded_i() = 0;
};
