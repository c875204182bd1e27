#pragma once
// The central task of the module: the host builds one, initializes it with the gateway
// configuration, names it, registers its components and starts it. It answers the built-in
// commands on its own thread, passes every other command to the child executers, answers its own
// OMs and asks the OM reporters for the others, keeps the table of raised alarms and runs the
// system CPU monitor on its timer.
//
// Host thread, before start: the constructor, initialize, setTaskName, addCmdExecutionHandler,
// addCmdExecuter, addOMReporter. Any thread once started: both executeCommand forms, both getOM
// forms, newAlarmState, describeOMs, takeSnapshot, getTrafficCounters, changesState.
// Everything else runs on the manager's own thread; nothing of the manager is locked.
//
// The task framework's state and managed-task implementations are both ManageableTaskImplBase here.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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
#include "oam/manager/OAMTrafficCounters.h"
#include "oam/manager/OMFuture.h"
#include "oam/om/OMCatalogue.h"
#include "oam/om/OMReporterTaskImpl.h"
#include "oam/om/SynchronousOMReporter.h"

class AlarmStateAppender;
class CpuMonitor;
class GetOMSM;
class ROConfiguration;
struct OAMSnapshot;

class OAMManager : public ConfigManager,
                   public SynchronousOMReporter,
                   public OMCatalogue,
                   public virtual SynchronousOAMCmdExecuter,
                   public virtual ManageableTask,
                   OMReporterTaskImpl,
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
    using OMReporterPtr = CountedObjPtr<OMReporter, TSReferenceCount>;

    class SynchGetOM_MO;
    class Snapshot_MO;
    class SnapshotGather;
    using ProxyDestruction_MO = TaskProxyDestruction_MO<OAMManager>;

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
    // Before start. An executer that is also ReadOnlyCommands adds its read-only commands.
    void addCmdExecuter(const ChildExecuterPtr& in_pExecuter);
    // Any thread once started: false for the built-in commands that only read and the children's
    // read-only ones, true for every other name, known or not.
    bool changesState(const std::string& in_strCommand) const;

    // "get-om" and "set-param" are answered on the caller's thread; any other command goes to the
    // manager's thread as the asynchronous form does.
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result,
                        ACE_Time_Value in_timeout) override;
    using OAMCmdExecuterTaskImpl::executeCommand;

    // Before start (the list is not locked). A reporter added twice is asked twice. One that is also
    // an OMCatalogue adds its OMs to the manager's catalogue.
    void addOMReporter(const OMReporterPtr& in_pReporter);
    // Any thread once started: the manager's own OMs, then those of each reporter that lists its own.
    void describeOMs(std::vector<OMDescription>& io_vOMs) const override;

    // Any thread but the manager's own: the OM's value within the time-out (ACE_Time_Value::max_time:
    // no limit), from the manager's own OMs, or the reporter that gave the name last, or all of them.
    bool getOM(const char* in_szOMName, ParameterValue& out_value, ACE_Time_Value in_timeout) override;
    // Any thread: the manager's own OMs only; the reporters are not asked.
    bool getOM(const char* in_szOMName, OMObserver* in_pObserver) override;

    // Any thread but the manager's own: one method object gathers every value of the snapshot on the
    // manager's thread, and the catalogued OMs of the reporters on theirs. False when that did not
    // complete within the time-out or the manager does not run.
    bool takeSnapshot(OAMSnapshot& out_snapshot, ACE_Time_Value in_timeout);

    // Any thread: the counts of commands, OM reads and web-service requests; the web service counts
    // its requests here.
    OAMTrafficCounters& getTrafficCounters() { return m_trafficCounters; }

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
    friend class GetOMSM;
    friend class TaskProxyDestruction_MO<OAMManager>;
    using GetOMSMPtr = CountedObjPtr<GetOMSM, ReferenceCount>;

    // Caller's thread: the blocking read that getOM counts.
    bool getOMCounted(const char* in_szOMName, ParameterValue& out_value, ACE_Time_Value in_timeout);
    // Task thread: answers one blocking read through the future.
    MOCallStatus getOM_i(const char* in_szOMName, OMFuture& io_future, const Deadline& in_callerDeadline);
    // Task thread: hands the reporter at that index an observer proxy for the machine; false when
    // the reporter refused.
    bool askReporter_i(const GetOMSMPtr& in_pGetOMSM, std::uint64_t in_uiReporterIndex, const char* in_szOMName);
    // Task thread: fills what the manager holds, and asks the reporters for their catalogued OMs.
    MOCallStatus takeSnapshot_i(const std::shared_ptr<SnapshotGather>& in_pGather);
    // Task thread: an observer proxy of the OM fan-out is gone.
    MOCallStatus proxyDestruction_i(std::uint64_t in_ulProxyId);
    // The manager's own OMs: host name, alarm state, last alarm; the table is emptied first.
    void populateOMHash();
    // The manager's appender as what it is; null, after an assertion, should it be something else.
    log4cplus::helpers::SharedObjectPtr<AlarmStateAppender> alarmStateAppender();

    // Any thread: queues the change for newAlarmState_i.
    void newAlarmState(const Alarm& in_alarm) override;
    MOCallStatus newAlarmState_i(const std::string& in_strAlarm, const Alarm::State& in_state);

    // Caller's thread: the two commands that never reach the manager's thread.
    // Caller's thread: executeCommand's routing; out_bKnown false when no handler knew the name.
    bool executeCommandCounted(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result,
                               ACE_Time_Value in_timeout, bool& out_bKnown);
    bool executeGetOM(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result, ACE_Time_Value in_timeout);
    bool executeSetParam(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result);

    // Attaches the appender to "linkhaven" and "admin" unless they hold one of its name already.
    void installAlarmStateAppender();
    void populateCmdExecutionHandlerHash();
    // Task thread: false when the monitor cannot run as configured.
    bool installCpuMonitor(const ROConfiguration& in_config);

    LoggingIdLogger m_logger;
    // Filled before start, only read afterwards; the index of a reporter is its place here.
    std::vector<OMReporterPtr> m_vOMReporter;
    log4cplus::SharedAppenderPtr m_pAppender;
    // The reporter that last gave each OM name; task thread only. Never cleared: reporters stay.
    std::unordered_map<std::string, std::uint64_t> m_OMReporterIndexHash;
    std::unique_ptr<TaskObjectPool<GetOMSM>> m_pGetOMSMPool;
    std::unordered_map<std::string, CmdExecutionHandlerPtr> m_cmdExecutionHandlerHash;
    // The alarms raised now, by their identifying text, with the time the manager heard of each;
    // task thread only.
    std::unordered_map<std::string, std::chrono::system_clock::time_point> m_alarmStateHash;
    Fallible<long> m_lCpuMonitorTimerId;
    // Owned by its timer; task thread only, null while the timer is not scheduled.
    CpuMonitor* m_pCpuMonitor = nullptr;
    // Filled before start, only read afterwards: the manager's own OMs, then those of the
    // reporters, each with the index of the reporter that answers it.
    std::vector<OMDescription> m_vOwnOMDescriptions;
    std::vector<std::pair<std::uint64_t, OMDescription>> m_vReporterOMDescriptions;
    // Filled before start, only read afterwards: the child executers' read-only commands.
    std::unordered_set<std::string> m_childReadOnlyCommands;
    OAMTrafficCounters m_trafficCounters;
};
