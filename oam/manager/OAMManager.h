#pragma once
// The central task of the module: the host builds one, initializes it with the gateway
// configuration, names it, registers its components and starts it. It answers the built-in
// commands on its own thread, passes every other command to the child executers, keeps the table
// of raised alarms and runs the system CPU monitor on its timer.
//
// Host thread, before start: the constructor, initialize, setTaskName, addCmdExecutionHandler,
// addCmdExecuter. Any thread once started: both executeCommand forms, getOM, newAlarmState.
// Everything else runs on the manager's own thread; nothing of the manager is locked.
//
// The task framework's state and managed-task implementations are both ManageableTaskImplBase here.

#include <string>
#include <unordered_map>

#include <ace/Time_Value.h>
#include <log4cplus/appender.h>

#include "host/core/Fallible.h"
#include "host/core/LoggingIdLogger.h"
#include "host/core/ParameterValue.h"
#include "host/core/TSHandle.h"
#include "host/infra/Alarm.h"
#include "host/infra/AlarmRegistry.h"
#include "host/infra/ConfigManager.h"
#include "host/thread/MOCallStatus.h"
#include "host/thread/StaticReactorTaskImpl.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"

class ROConfiguration;

class OAMManager : public ConfigManager,
                   public virtual SynchronousOAMCmdExecuter,
                   public virtual ManageableTask,
                   OAMCmdExecuterTaskImpl,
                   StaticReactorTaskImpl,
                   AlarmRegistry::Observer
{
  public:
    // The built-in command handlers, one per command name; task thread only.
    class SetLogLevelHandler;
    class GetLogLevelHandler;
    class SetRunModeHandler;
    class GetRunModeHandler;
    class SetCallLoggerModeHandler;
    class GetCallLoggerStatusHandler;
    class GetMemAccountInfoHandler;
    class DumpCoreHandler;
    class SetConfigParamHandler;
    class GetConfigParamHandler;
    class ResetAlarmStateHandler;
    class NewAlarmStateHandler;
    class GetAllAlarmsHandler;

    using CmdExecutionHandler = OAMCmdExecuterTaskImpl::CmdExecutionHandler;
    using CmdExecutionHandlerPtr = OAMCmdExecuterTaskImpl::CmdExecutionHandlerPtr;
    using ChildExecuterPtr = OAMCmdExecuterTaskImpl::ChildExecuterPtr;

    OAMManager();
    // After waitUntilDone.
    ~OAMManager() override;

    // Attaches the alarm-state appender and keeps the configuration; always true.
    bool initialize(const TSHandle<ROConfiguration>& in_hConfig) override;
    // Names the task and its appender, and fills the table of built-in commands anew.
    void setTaskName(const char* in_szName) override;

    // After setTaskName (which empties the table) and before start (the table is not locked).
    // False, keeping the handler already there, when the name is taken; false for a null handler.
    bool addCmdExecutionHandler(const std::string& in_strName, const CmdExecutionHandlerPtr& in_pHandler);
    using OAMCmdExecuterTaskImpl::addCmdExecuter;

    // "get-om" and "set-param" are answered on the caller's thread; any other command goes to the
    // manager's thread as the asynchronous form does.
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result,
                        ACE_Time_Value in_timeout) override;
    using OAMCmdExecuterTaskImpl::executeCommand;

    // Any thread: the OM's value within the time-out. No OM is reported yet: always false.
    bool getOM(const char* in_szOMName, ParameterValue& out_value, ACE_Time_Value in_timeout);

    // "get-om", then the names of the command table; "set-param" is not listed.
    void getSupportedCommands(StringVector& out_vCommands) const override;

    // The host's handle on the task, as the reactor task implements it.
    using StaticReactorTaskImpl::addTaskObserver;
    using StaticReactorTaskImpl::getTaskName;
    using StaticReactorTaskImpl::getTaskState;
    using StaticReactorTaskImpl::kill;
    using StaticReactorTaskImpl::removeTaskObserver;
    using StaticReactorTaskImpl::start;
    using StaticReactorTaskImpl::stop;
    using StaticReactorTaskImpl::stopKillExit;
    using StaticReactorTaskImpl::waitForStart;
    using StaticReactorTaskImpl::waitUntilDone;

    LoggingIdLogger& getLogger() override { return m_logger; }
    const LoggingIdLogger& getLogger() const override { return m_logger; }

  protected:
    CmdExecutionHandlerPtr findCmdExecHandler_i(const OAMCommand& in_cmd) override;

    int close(unsigned long in_ulFlags) override;
    void handleMOCallStop() override;
    void handleMOCallKill() override;
    void onSvcEntry() override;

    // The timer facility, for a derived class that watches the monitor's timer.
    using StaticReactorTaskImpl::cancelTimer;
    using StaticReactorTaskImpl::scheduleTimer;

  private:
    class AlarmData_MO;

    // Any thread: queues the change for newAlarmState_i.
    void newAlarmState(const Alarm& in_alarm) override;
    MOCallStatus newAlarmState_i(const std::string& in_strAlarm, const Alarm::State& in_state);

    // Caller's thread: the two commands that never reach the manager's thread.
    bool executeGetOM(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result, ACE_Time_Value in_timeout);
    bool executeSetParam(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result);

    // Attaches the appender to "linkhaven" and "admin" unless they hold one of its name already.
    void installAlarmStateAppender();
    void populateCmdExecutionHandlerHash();
    // Task thread: false when the monitor cannot run as configured.
    bool installCpuMonitor(const ROConfiguration& in_config);

    LoggingIdLogger m_logger;
    log4cplus::SharedAppenderPtr m_pAppender;
    std::unordered_map<std::string, CmdExecutionHandlerPtr> m_cmdExecutionHandlerHash;
    // The alarms raised now, by their identifying text; task thread only.
    std::unordered_map<std::string, Alarm::State> m_alarmStateHash;
    Fallible<long> m_lCpuMonitorTimerId;
};
