#pragma once
// "set-log-level" and "get-log-level": the levels of the gateway's loggers. Task thread only.

#include "oam/manager/OAMManager.h"

// Sets the root logger's level, or a named logger's.
class OAMManager::SetLogLevelHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;
};

// Reports the level in force on a named logger, inherited or its own.
class OAMManager::GetLogLevelHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;
};
