#pragma once
// Executes commands and waits for their results. Called on any thread but the executer's own.

#include <ace/Time_Value.h>

#include "host/thread/Object.h"
#include "oam/command/OAMCommand.h"
#include "oam/soap/SoapOAMRecords.h"

class SynchronousOAMCmdExecuter : public virtual Object
{
  public:
    // True when a result arrived within the time-out (ACE_Time_Value::max_time: no limit); the
    // record is then filled.
    virtual bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result,
                                ACE_Time_Value in_timeout) = 0;
};
