#include "oam/manager/LogLevelHandlers.h"

#include <log4cplus/loglevel.h>

#include "host/core/Assertion.h"
#include "host/core/TraceScope.h"
#include "oam/manager/AdminHandlerSupport.h"

using namespace AdminHandlerSupport;

bool OAMManager::SetLogLevelHandler::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result)
{
    TraceScope trace(managerLogger(), "OAMManager::SetLogLevelHandler::executeCommand");
    if (!validateUsage(in_cmd, io_result))
        return false;
    const std::string strLevel = argument(in_cmd, 0);
    const LogLevel logLevel = parseLogLevelString(strLevel);
    if (!Assertion(logLevel != NOT_SET_LOG_LEVEL, "logLevel != NOT_SET_LOG_LEVEL", __FILE__, __LINE__,
                   managerLogger()))
        return false;

    if (in_cmd.getNumArg() == 1) {
        Logger().setLogLevel(logLevel);
    } else {
        const std::string strLogger = argument(in_cmd, 1);
        if (!Logger::prefixExists(strLogger))
            return refuse(io_result, "Invalid logger : " + strLogger);
        // Said on the logger itself, whatever its level, so that its own output shows the change.
        Logger logger(strLogger);
        logger.forcedLog(INFO_LOG_LEVEL, "Setting loglevel of logger " + strLogger + " to " + strLevel, __FILE__,
                         __LINE__);
        logger.setLogLevel(logLevel);
    }
    io_result.m_bExecSuccess = true;
    io_result.m_strStatusText = "Success";
    return true;
}

std::ostream& OAMManager::SetLogLevelHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "set-log-level log-level [logger-name]";
}

bool OAMManager::SetLogLevelHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const
{
    if (in_cmd.getNumArg() != 1 && in_cmd.getNumArg() != 2)
        return false;
    if (parseLogLevelString(argument(in_cmd, 0)) == NOT_SET_LOG_LEVEL)
        return refuse(io_result, "Invalid log level : " + argument(in_cmd, 0));
    return true;
}

bool OAMManager::GetLogLevelHandler::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result)
{
    TraceScope trace(managerLogger(), "OAMManager::GetLogLevelHandler::executeCommand");
    if (!validateUsage(in_cmd, io_result))
        return false;
    const std::string strLogger = argument(in_cmd, 0);
    if (!Logger::prefixExists(strLogger))
        return refuse(io_result, "Invalid logger : " + strLogger);
    LH_DEBUG(managerLogger(), "Getting loglevel of logger " << strLogger);
    const LogLevel logLevel = Logger(strLogger).getChainedLogLevel();
    io_result.m_strStatusText += "Success\nThe loglevel of " + strLogger + " is " +
                                 log4cplus::getLogLevelManager().toString(logLevel);
    return true;
}

std::ostream& OAMManager::GetLogLevelHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "get-log-level logger-name";
}

bool OAMManager::GetLogLevelHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult&) const
{
    return in_cmd.getNumArg() == 1;
}
