#include "oam/manager/RunModeHandlers.h"

#include "host/core/TraceScope.h"
#include "host/infra/GlobalConfig.h"
#include "host/infra/RWGlobalConfig.h"
#include "host/infra/RunMode.h"
#include "oam/manager/AdminHandlerSupport.h"

using namespace AdminHandlerSupport;

namespace {
const char* const RUN_MODE_PARAMETER = "linkhaven.run.mode";

bool readRunMode(SoapOAM__OAMCommandExecResult& io_result, std::string& out_strMode)
{
    if (GlobalConfig::getInstance()->getString(RUN_MODE_PARAMETER, out_strMode))
        return true;
    return OAMManager::CmdExecutionHandler::refuse(io_result, "Failed to get the current run mode");
}
} // namespace

bool OAMManager::SetRunModeHandler::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result)
{
    TraceScope trace(managerLogger(), "OAMManager::SetRunModeHandler::executeCommand");
    if (!validateUsage(in_cmd, io_result))
        return false;
    const std::string strMode = argument(in_cmd, 0);
    const RunMode newMode = parseRunModeString(strMode);
    std::string strCurrentMode;
    if (!readRunMode(io_result, strCurrentMode))
        return false;
    if (parseRunModeString(strCurrentMode) == newMode) {
        io_result.m_strStatusText = "Success";
        return true;
    }

    ParameterValue value;
    value.initFromText(strMode.c_str(), ParameterValue::NO_VALUE_TYPE, true);
    if (!RWGlobalConfig::getInstance()->setValue(RUN_MODE_PARAMETER, value))
        return refuse(io_result, "Failed to set new run mode parameter value: " + strMode + " in the global config.");
    // The parameter stays written when the mode itself cannot be put in force.
    if (!GlobalConfig::getInstance()->setRunMode(newMode))
        return refuse(io_result, "failed to set run mode to value: " + strMode);
    io_result.m_strStatusText = "Success";
    m_pManager->installAlarmStateAppender();
    return true;
}

std::ostream& OAMManager::SetRunModeHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "set-run-mode run-mode";
}

bool OAMManager::SetRunModeHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const
{
    if (in_cmd.getNumArg() != 1)
        return false;
    if (parseRunModeString(argument(in_cmd, 0)) == NO_RUN_MODE)
        return refuse(io_result, "Invalid run mode : " + argument(in_cmd, 0));
    return true;
}

bool OAMManager::GetRunModeHandler::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result)
{
    TraceScope trace(managerLogger(), "OAMManager::GetRunModeHandler::executeCommand");
    if (!validateUsage(in_cmd, io_result))
        return false;
    std::string strMode;
    if (!readRunMode(io_result, strMode))
        return false;
    io_result.m_strStatusText += "Success\nThe current gateway run mode is " + strMode;
    return true;
}

std::ostream& OAMManager::GetRunModeHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "get-run-mode";
}

bool OAMManager::GetRunModeHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult&) const
{
    return in_cmd.getNumArg() == 0;
}
