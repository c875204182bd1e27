#include "oam/manager/CallLoggerHandlers.h"

#include "host/core/TraceScope.h"
#include "host/infra/CallLogger.h"
#include "oam/manager/AdminHandlerSupport.h"

using namespace AdminHandlerSupport;

namespace {
const char* const ENABLED = "enabled";
const char* const DISABLED = "disabled";
} // namespace

bool OAMManager::SetCallLoggerModeHandler::executeCommand(const OAMCommand& in_cmd,
                                                          SoapOAM__OAMCommandExecResult& io_result)
{
    TraceScope trace(managerLogger(), "OAMManager::SetCallLoggerModeHandler::executeCommand");
    if (!validateUsage(in_cmd, io_result))
        return false;
    const std::string strStatus = argument(in_cmd, 0);
    const bool bWanted = strStatus == ENABLED;
    // Only a change is asked for: a status already in force is left untouched.
    if (bWanted != CallLogger::isEnabled() && !CallLogger::setMode(bWanted))
        return refuse(io_result, "Failed to set new call logger status to : " + strStatus);
    io_result.m_strStatusText = "Success";
    return true;
}

std::ostream& OAMManager::SetCallLoggerModeHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "set-call-logger-status call-logger-status";
}

bool OAMManager::SetCallLoggerModeHandler::checkUsage(const OAMCommand& in_cmd,
                                                      SoapOAM__OAMCommandExecResult& io_result) const
{
    if (in_cmd.getNumArg() != 1)
        return false;
    const std::string strStatus = argument(in_cmd, 0);
    if (strStatus != ENABLED && strStatus != DISABLED)
        return refuse(io_result, "Invalid call logger status : " + strStatus);
    if (!CallLogger::isConfigured())
        return refuse(io_result, "Invalid command set-call-logger-status " + strStatus +
                                     " since no call logger has been configured.");
    return true;
}

bool OAMManager::GetCallLoggerStatusHandler::executeCommand(const OAMCommand& in_cmd,
                                                            SoapOAM__OAMCommandExecResult& io_result)
{
    TraceScope trace(managerLogger(), "OAMManager::GetCallLoggerStatusHandler::executeCommand");
    if (!validateUsage(in_cmd, io_result))
        return false;
    const bool bEnabled = CallLogger::isConfigured() && CallLogger::isEnabled();
    io_result.m_strStatusText += std::string("Success\nCall Logger is ") + (bEnabled ? ENABLED : DISABLED);
    return true;
}

std::ostream& OAMManager::GetCallLoggerStatusHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "get-call-logger-status";
}

bool OAMManager::GetCallLoggerStatusHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult&) const
{
    return in_cmd.getNumArg() == 0;
}
