#pragma once
// "set-call-logger-status" and "get-call-logger-status": switching the gateway's call log on and
// off. Task thread only.

#include "oam/manager/OAMManager.h"

// Takes "enabled" or "disabled", with that case, and only once the host has configured a call log.
class OAMManager::SetCallLoggerModeHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;
};

// An unconfigured call log reads as disabled.
class OAMManager::GetCallLoggerStatusHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;
};
