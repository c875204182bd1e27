#include "oam/alarm/AlarmCommands.h"

#include <cstring>
#include <sstream>

#include "host/core/AceCleanupLogger.h"
#include "host/infra/AlarmRegistry.h"

namespace {
const char* const RESET_ALARM_STATE = "reset-alarm-state";
const char* const GET_ALARMS = "get-alarms";
const char* const GET_ALL_ALARMS = "get-all-alarms";

// The command of that name, with no argument.
bool isBareCommand(const OAMCommand& in_cmd, const char* in_szName)
{
    return std::strcmp(in_cmd.getName(), in_szName) == 0 && in_cmd.getNumArg() == 0;
}
} // namespace

OAMManager::ResetAlarmStateHandler::ResetAlarmStateHandler(
    const log4cplus::helpers::SharedObjectPtr<AlarmStateAppender>& in_pAppender)
    : m_pAppender(in_pAppender)
{
}

bool OAMManager::ResetAlarmStateHandler::executeCommand(const OAMCommand& in_cmd,
                                                        SoapOAM__OAMCommandExecResult& io_result)
{
    if (!validateUsage(in_cmd, io_result))
        return true;
    io_result.m_bExecSuccess = true;
    io_result.m_strStatusText = "Success";
    m_pAppender->resetAlarmState();
    LH_INFO(AceCleanupLogger::get("linkhaven.oam.manager"), "Reset alarm state");
    return true;
}

std::ostream& OAMManager::ResetAlarmStateHandler::printUsage(std::ostream& io_os) const
{
    return io_os << RESET_ALARM_STATE;
}

bool OAMManager::ResetAlarmStateHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult&) const
{
    return isBareCommand(in_cmd, RESET_ALARM_STATE);
}

OAMManager::NewAlarmStateHandler::NewAlarmStateHandler(OAMManager* in_pManager) : m_pManager(in_pManager)
{
    AlarmRegistry::getInstance().addObserver(m_pManager);
}

OAMManager::NewAlarmStateHandler::~NewAlarmStateHandler()
{
    AlarmRegistry::getInstance().removeObserver(m_pManager);
}

bool OAMManager::NewAlarmStateHandler::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result)
{
    if (!validateUsage(in_cmd, io_result))
        return true;
    io_result.m_bExecSuccess = true;
    io_result.m_strStatusText.clear();
    if (m_pManager->m_alarmStateHash.empty()) {
        io_result.m_strStatusText = "NO ALARM";
        return true;
    }
    for (const auto& entry : m_pManager->m_alarmStateHash)
        io_result.m_strStatusText += entry.first + " : ALARM_ON\n";
    return true;
}

std::ostream& OAMManager::NewAlarmStateHandler::printUsage(std::ostream& io_os) const
{
    return io_os << GET_ALARMS;
}

bool OAMManager::NewAlarmStateHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult&) const
{
    return isBareCommand(in_cmd, GET_ALARMS);
}

bool OAMManager::GetAllAlarmsHandler::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result)
{
    if (!validateUsage(in_cmd, io_result))
        return true;
    io_result.m_bExecSuccess = true;
    io_result.m_strStatusText.clear();
    AlarmRegistry::AlarmVector vAlarms;
    AlarmRegistry::getInstance().getAllAlarms(vAlarms);
    if (vAlarms.empty()) {
        io_result.m_strStatusText = "NO ALARM DEFINED";
        return true;
    }
    std::ostringstream text;
    for (std::size_t ui = 0; ui < vAlarms.size(); ++ui)
        text << "ALARM " << ui << " : " << *vAlarms[ui] << std::endl;
    io_result.m_strStatusText = text.str();
    return true;
}

std::ostream& OAMManager::GetAllAlarmsHandler::printUsage(std::ostream& io_os) const
{
    return io_os << GET_ALL_ALARMS;
}

bool OAMManager::GetAllAlarmsHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult&) const
{
    return isBareCommand(in_cmd, GET_ALL_ALARMS);
}
