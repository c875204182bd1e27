#pragma once
// "set-config-param" and "get-config-param": the parameters of the process-wide configuration.
// Task thread only.

#include "oam/manager/OAMManager.h"

// Sets an existing parameter; the configuration converts the value to the parameter's type or
// refuses it.
class OAMManager::SetConfigParamHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;
};

// Reports one parameter, or every parameter when none is named.
class OAMManager::GetConfigParamHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;
};
