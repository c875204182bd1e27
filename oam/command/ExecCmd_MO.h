#pragma once
// Carries one command, and the observer of its outcome, to the executer's thread.

#include <memory>

#include <ace/Method_Request.h>

#include "host/core/MemAccounted.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"

class OAMCmdExecuterTaskImpl::ExecCmd_MO : public ACE_Method_Request, public MemAccounted<ExecCmd_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "ExecCmd_MO";

    // Built on the caller's thread: takes a clone of the command and the observer (may be null).
    ExecCmd_MO(OAMCmdExecuterTaskImpl& in_task, const OAMCommand& in_cmd, OAMCmdExecObserver* in_pObserver);
    // A method object that never ran drops its observer without telling it.
    ~ExecCmd_MO() override;

    int call() override;

  private:
    OAMCmdExecuterTaskImpl& m_task;
    std::unique_ptr<OAMCommand> m_pCommand;
    std::unique_ptr<OAMCmdExecObserver> m_pObserver;
};
