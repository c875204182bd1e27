#pragma once
// "get-mem-account-info": what the named memory accounts hold, or every account. Task thread only.

#include <sstream>

#include "oam/manager/OAMManager.h"

class OAMManager::GetMemAccountInfoHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;

  private:
    // The answer is built here; emptied at the start of each run.
    std::ostringstream m_stream;
};
