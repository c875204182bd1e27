#pragma once
// "set-run-mode" and "get-run-mode": the gateway's run mode, whose text is the configuration
// parameter "linkhaven.run.mode". Task thread only.

#include "oam/manager/OAMManager.h"

// Switches the run mode; the new mode's logging may drop the appenders, so the manager attaches
// its alarm-state appender again afterwards.
class OAMManager::SetRunModeHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    // The manager outlives its handlers: it holds them in its table.
    explicit SetRunModeHandler(OAMManager* in_pManager) : m_pManager(in_pManager) {}

    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;

  private:
    OAMManager* const m_pManager;
};

class OAMManager::GetRunModeHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;
};
