#pragma once
// Reports OMs and waits for them. Called on any thread but the reporter's own.

#include <ace/Time_Value.h>

#include "host/core/ParameterValue.h"

class SynchronousOMReporter
{
  public:
    virtual ~SynchronousOMReporter() = default;
    // True when the OM's value arrived within the time-out (ACE_Time_Value::max_time: no limit);
    // out_value then holds it.
    virtual bool getOM(const char* in_szOMName, ParameterValue& out_value, ACE_Time_Value in_timeout) = 0;
};
