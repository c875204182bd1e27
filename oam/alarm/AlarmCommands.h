#pragma once
// The manager's alarm commands: "reset-alarm-state" puts the log-derived colour back to GREEN,
// "get-alarms" lists the registry's alarms that are raised now, "get-all-alarms" every alarm the
// registry knows. None takes an argument. Task thread only.

#include <log4cplus/helpers/pointer.h>

#include "oam/alarm/AlarmStateAppender.h"
#include "oam/manager/OAMManager.h"

class OAMManager::ResetAlarmStateHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    explicit ResetAlarmStateHandler(const log4cplus::helpers::SharedObjectPtr<AlarmStateAppender>& in_pAppender);

    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;

  private:
    log4cplus::helpers::SharedObjectPtr<AlarmStateAppender> m_pAppender;
};

// The manager hears the registry's changes for exactly as long as this handler lives.
class OAMManager::NewAlarmStateHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    // The manager outlives its handlers: it holds them in its table.
    explicit NewAlarmStateHandler(OAMManager* in_pManager);
    ~NewAlarmStateHandler() override;

    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;

  private:
    OAMManager* const m_pManager;
};

class OAMManager::GetAllAlarmsHandler : public ::OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;
};
