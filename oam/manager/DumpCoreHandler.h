#pragma once
// "dump-core": writes a core image of the running gateway to a path, and the gateway goes on.
// Task thread only; the manager's thread is held while the image is written.

#include "oam/manager/OAMManager.h"

class OAMManager::DumpCoreHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;
};
