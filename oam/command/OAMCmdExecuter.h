#pragma once
// Executes commands asynchronously. Called on any thread.

#include "host/thread/Object.h"
#include "oam/command/OAMCommand.h"

class OAMCmdExecObserver;

class OAMCmdExecuter : public virtual Object
{
  public:
    // The observer (which may be null) belongs to the executer from this call on, also when the
    // call gives false. The command is not used after the call returns.
    virtual bool executeCommand(const OAMCommand& in_cmd, OAMCmdExecObserver* in_pObserver) = 0;
};
