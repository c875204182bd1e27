#include "oam/manager/OAMManager.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <sstream>

#include <log4cplus/logger.h>

#include "host/core/AceCleanupLogger.h"
#include "host/core/Assertion.h"
#include "host/core/TraceScope.h"
#include "host/infra/RWGlobalConfig.h"
#include "host/thread/CpuMonitor.h"
#include "host/thread/ThreadChecker.h"
#include "oam/alarm/AlarmCommands.h"
#include "oam/alarm/AlarmStateAppender.h"
#include "oam/alarm/InstallAlarmStateAppender.h"
#include "oam/command/LastErrorText.h"
#include "oam/command/ReadOnlyCommands.h"
#include "oam/command/TaskObjectPool.h"
#include "oam/manager/CallLoggerHandlers.h"
#include "oam/manager/ConfigParamHandlers.h"
#include "oam/manager/DumpCoreHandler.h"
#include "oam/manager/GetMemAccountInfoHandler.h"
#include "oam/manager/LogLevelHandlers.h"
#include "oam/manager/OAMCpuAffinity.h"
#include "oam/manager/RunModeHandlers.h"
#include "oam/manager/GetOMSM.h"

namespace {
const char* const LOGGER_NAME = "linkhaven.oam.manager";
const char* const CPU_MONITOR_PREFIX = "linkhaven.system.cpu.monitor";
const char* const CPU_MONITOR_PERIOD_KEY = "linkhaven.system.cpu.monitor.monitoringPeriodInMs";
const char* const START_TIMEOUT_KEY = "linkhaven.startTimeoutSec";
// Asked for by each table, so that the built-in commands, the alarms and the names of the OMs
// that reporters gave never rehash.
const std::size_t TABLE_BUCKETS = 100;
const char* const UNSUPPORTED_COMMAND_TEXT = "Command not supported.";
} // namespace

OAMManager::OAMManager()
    : m_logger(AceCleanupLogger::get(LOGGER_NAME)), m_pAppender(new AlarmStateAppender()),
      m_OMReporterIndexHash(TABLE_BUCKETS), m_pGetOMSMPool(std::make_unique<TaskObjectPool<GetOMSM>>(1)),
      m_cmdExecutionHandlerHash(TABLE_BUCKETS), m_alarmStateHash(TABLE_BUCKETS)
{
}

OAMManager::~OAMManager()
{
    if (!m_hConfigCache.isNull())
        m_hConfigCache->removeObserver(this);
    // From "linkhaven" and "admin" too: left there, it would keep counting for nobody, and its name
    // would keep a later manager's appender of the same name off those loggers. Only this appender
    // goes, whatever others of the same name are attached.
    for (const Logger& logger : {Logger(), Logger("linkhaven"), Logger("admin")}) {
        log4cplus::Logger log4cplusLogger = logger.getLog4cplusLogger();
        log4cplusLogger.removeAppender(m_pAppender);
    }
    Assertion(!m_lCpuMonitorTimerId.valid(), "! m_lCpuMonitorTimerId.valid()", __FILE__, __LINE__, m_logger);
}

bool OAMManager::initialize(const TSHandle<ROConfiguration>& in_hConfig)
{
    installAlarmStateAppender();
    if (!m_hConfigCache.isNull())
        m_hConfigCache->removeObserver(this);
    configure(in_hConfig);
    if (!m_hConfigCache.isNull())
        m_hConfigCache->addObserver(this);
    return true;
}

void OAMManager::setTaskName(const char* in_szName)
{
    StaticReactorTaskImpl::setTaskName(in_szName);
    m_logger.setLoggingId(getTaskName());
    m_pAppender->setName(getTaskName() + " - AlarmStateAppender");
    installAlarmStateAppender();
    populateOMHash();
    populateCmdExecutionHandlerHash();
}

bool OAMManager::addCmdExecutionHandler(const std::string& in_strName, const CmdExecutionHandlerPtr& in_pHandler)
{
    TraceScope trace(m_logger, "OAMManager::addCmdExecutionHandler");
    // A name without a handler would be listed as supported and never run.
    if (in_pHandler.isNull()) {
        LH_ERROR(m_logger, "OAMManager::addCmdExecutionHandler : no handler for " << in_strName);
        return false;
    }
    return m_cmdExecutionHandlerHash.emplace(in_strName, in_pHandler).second;
}

bool OAMManager::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result,
                                ACE_Time_Value in_timeout)
{
    TraceScope trace(m_logger, "OAMManager::executeCommand");
    const auto start = std::chrono::steady_clock::now();
    bool bKnown = true;
    const bool bAnswered = executeCommandCounted(in_cmd, out_result, in_timeout, bKnown);
    m_trafficCounters.countCommand(in_cmd.getName(), bKnown, bAnswered && out_result.m_bExecSuccess,
                                   std::chrono::steady_clock::now() - start);
    return bAnswered;
}

bool OAMManager::executeCommandCounted(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result,
                                       ACE_Time_Value in_timeout, bool& out_bKnown)
{
    out_bKnown = true;
    if (std::strcmp(in_cmd.getName(), "get-om") == 0)
        return executeGetOM(in_cmd, out_result, in_timeout);
    if (std::strcmp(in_cmd.getName(), "set-param") == 0)
        return executeSetParam(in_cmd, out_result);
    const bool bAnswered = OAMCmdExecuterTaskImpl::executeCommand(in_cmd, out_result, in_timeout);
    // An answer listing the supported commands says that nobody knows the name.
    out_bKnown = bAnswered && out_result.m_strStatusText.rfind(UNSUPPORTED_COMMAND_TEXT, 0) != 0;
    return bAnswered;
}

bool OAMManager::executeGetOM(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result,
                              ACE_Time_Value in_timeout)
{
    out_result.m_bExecSuccess = false;
    if (in_cmd.getNumArg() != 1) {
        out_result.m_strStatusText = "usage: get-om om-name";
        return true;
    }
    ParameterValue value;
    if (!getOM(in_cmd.getArg(0), value, in_timeout)) {
        out_result.m_strStatusText = "Error";
        LH_DEBUG(m_logger, "Error executing command " << in_cmd << " : " << lastErrorText());
        return false;
    }
    out_result.m_bExecSuccess = true;
    std::ostringstream text;
    text << value;
    out_result.m_strStatusText = text.str();
    return true;
}

bool OAMManager::executeSetParam(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result)
{
    out_result.m_bExecSuccess = false;
    if (in_cmd.getNumArg() != 2) {
        out_result.m_strStatusText = "usage: set-param param-name param-value";
        return true;
    }
    const char* const szName = in_cmd.getArg(0);
    ParameterValue value;
    value.initFromText(in_cmd.getArg(1), ParameterValue::NO_VALUE_TYPE, true);
    std::ostringstream text;
    if (RWGlobalConfig::getInstance()->setValue(szName, value)) {
        out_result.m_bExecSuccess = true;
        text << "Successfully set parameter " << szName << " to " << value;
    } else {
        text << "Failed to set parameter " << szName << " to " << in_cmd.getArg(1);
    }
    out_result.m_strStatusText = text.str();
    return true;
}

void OAMManager::addCmdExecuter(const ChildExecuterPtr& in_pExecuter)
{
    if (const auto* const pReadOnly = dynamic_cast<const ReadOnlyCommands*>(in_pExecuter.get())) {
        std::vector<std::string> vNames;
        pReadOnly->listReadOnlyCommands(vNames);
        m_childReadOnlyCommands.insert(vNames.begin(), vNames.end());
    }
    OAMCmdExecuterTaskImpl::addCmdExecuter(in_pExecuter);
}

bool OAMManager::changesState(const std::string& in_strCommand) const
{
    static const std::unordered_set<std::string> s_builtInReadOnly = {
        "get-log-level", "get-run-mode",   "get-call-logger-status", "get-config-param",
        "get-mem-account-info", "get-alarms", "get-all-alarms", "get-om"};
    return s_builtInReadOnly.count(in_strCommand) == 0 && m_childReadOnlyCommands.count(in_strCommand) == 0;
}

void OAMManager::getSupportedCommands(StringVector& out_vCommands) const
{
    out_vCommands.clear();
    out_vCommands.reserve(m_cmdExecutionHandlerHash.size() + 1);
    out_vCommands.push_back("get-om");
    for (const auto& entry : m_cmdExecutionHandlerHash)
        out_vCommands.push_back(entry.first);
}

OAMManager::CmdExecutionHandlerPtr OAMManager::findCmdExecHandler_i(const OAMCommand& in_cmd)
{
    LH_CHECK_TASK_THREAD();
    const auto found = m_cmdExecutionHandlerHash.find(in_cmd.getName());
    return found == m_cmdExecutionHandlerHash.end() ? CmdExecutionHandlerPtr() : found->second;
}

void OAMManager::onSvcEntry()
{
    if (!Assertion(!m_hConfigCache.isNull(), "! m_hConfigCache.isNull()", __FILE__, __LINE__, m_logger))
        return;
    confineToOAMCpus(*m_hConfigCache, m_logger, "OAM manager thread");
    if (!installCpuMonitor(*m_hConfigCache)) {
        stop();
        return;
    }
    setTaskState_i(RUNNING_STATE);
}

void OAMManager::handleMOCallStop()
{
    TraceScope trace(m_logger, "OAMManager::handleMOCallStop");
    if (m_lCpuMonitorTimerId.valid()) {
        cancelTimer(m_lCpuMonitorTimerId.value(), nullptr);
        m_lCpuMonitorTimerId.invalidate();
        m_pCpuMonitor = nullptr;
    }
    stopCompleted();
}

void OAMManager::handleMOCallKill()
{
    TraceScope trace(m_logger, "OAMManager::handleMOCallKill");
}

int OAMManager::close(unsigned long in_ulFlags)
{
    // A killed manager leaves its timer to the end of the thread, which cancels every timer of the
    // task and deletes the monitor with it: the identifier names nothing any more.
    m_lCpuMonitorTimerId.invalidate();
    m_pCpuMonitor = nullptr;
    // No answer from a child or a reporter can reach a request any more: its caller is told now,
    // not when the manager is destroyed.
    giveUpFannedOutCommands_i();
    m_pGetOMSMPool->getProxyData(0).giveUpAll();
    return StaticReactorTaskImpl::close(in_ulFlags);
}

bool OAMManager::installCpuMonitor(const ROConfiguration& in_config)
{
    LH_CHECK_TASK_THREAD();
    int nPeriodMs = 0;
    if (!in_config.getInt(CPU_MONITOR_PERIOD_KEY, nPeriodMs)) {
        LH_ERROR(m_logger, "failed to read parameter " << CPU_MONITOR_PERIOD_KEY);
        return false;
    }
    LH_DEBUG(m_logger, "setting System CPU monitoring period to " << nPeriodMs << "ms");
    const ACE_Time_Value interval(nPeriodMs / 1000, (nPeriodMs % 1000) * 1000);
    if (nPeriodMs <= 0) {
        LH_INFO(m_logger, "disabling System CPU monitoring");
        return true;
    }
    LH_INFO(m_logger, "enabling System CPU monitoring");

    // The first measurement waits for the gateway to have started: twice its start time-out.
    int nStartTimeoutSec = 0, nStartTimeoutSecAgain = 0;
    if (!in_config.getInt(START_TIMEOUT_KEY, nStartTimeoutSec) ||
        !in_config.getInt(START_TIMEOUT_KEY, nStartTimeoutSecAgain)) {
        LH_ERROR(m_logger, "failed to read parameter " << START_TIMEOUT_KEY);
        return false;
    }
    // A negative time-out is a typo, not a reason to stop: the first measurement comes at once.
    const ACE_Time_Value delay(std::max<time_t>(0, static_cast<time_t>(nStartTimeoutSec) + nStartTimeoutSecAgain));

    auto pMonitor = std::make_unique<CpuMonitor>();
    if (!pMonitor->configure(CPU_MONITOR_PREFIX, in_config)) {
        LH_ERROR(m_logger, "failed to configure System CPU monitor");
        return false;
    }
    // From here on the timer owns the monitor.
    m_pCpuMonitor = pMonitor.get();
    m_lCpuMonitorTimerId = scheduleTimer(pMonitor.release(), nullptr, delay, interval, 0);
    return Assertion(m_lCpuMonitorTimerId.value() >= 0, "m_lCpuMonitorTimerId >= 0", __FILE__, __LINE__, m_logger);
}

void OAMManager::installAlarmStateAppender()
{
    ::installAlarmStateAppender(m_pAppender);
}

void OAMManager::populateCmdExecutionHandlerHash()
{
    // Emptied first: the "get-alarms" handler unregisters the manager from the alarm registry as it
    // goes, so its successor must register only after that.
    m_cmdExecutionHandlerHash.clear();
    auto add = [this](const char* in_szName, CmdExecutionHandler* in_pHandler) {
        m_cmdExecutionHandlerHash[in_szName] = CmdExecutionHandlerPtr(in_pHandler);
    };
    add("set-log-level", new SetLogLevelHandler());
    add("get-log-level", new GetLogLevelHandler());
    add("set-run-mode", new SetRunModeHandler(this));
    add("get-run-mode", new GetRunModeHandler());
    add("set-call-logger-status", new SetCallLoggerModeHandler());
    add("get-call-logger-status", new GetCallLoggerStatusHandler());
    if (const auto pAppender = alarmStateAppender())
        add("reset-alarm-state", new ResetAlarmStateHandler(pAppender));
    add("get-mem-account-info", new GetMemAccountInfoHandler());
    add("dump-core", new DumpCoreHandler());
    add("get-alarms", new NewAlarmStateHandler(this));
    add("get-all-alarms", new GetAllAlarmsHandler());
    add("set-config-param", new SetConfigParamHandler());
    add("get-config-param", new GetConfigParamHandler());
}

log4cplus::helpers::SharedObjectPtr<AlarmStateAppender> OAMManager::alarmStateAppender()
{
    Assertion(m_pAppender != nullptr, "m_pAppender != 0", __FILE__, __LINE__, m_logger);
    auto* const pHandler = dynamic_cast<AlarmStateAppender*>(m_pAppender.get());
    Assertion(pHandler != nullptr, "pHandler != 0", __FILE__, __LINE__, m_logger);
    return log4cplus::helpers::SharedObjectPtr<AlarmStateAppender>(pHandler);
}
