#include "oam/manager/ConfigParamHandlers.h"

#include <sstream>

#include "host/core/TraceScope.h"
#include "host/infra/GlobalConfig.h"
#include "host/infra/RWGlobalConfig.h"
#include "oam/manager/AdminHandlerSupport.h"

using namespace AdminHandlerSupport;

bool OAMManager::SetConfigParamHandler::executeCommand(const OAMCommand& in_cmd,
                                                       SoapOAM__OAMCommandExecResult& io_result)
{
    TraceScope trace(managerLogger(), "OAMManager::SetConfigParamHandler::executeCommand");
    if (!validateUsage(in_cmd, io_result))
        return false;
    const std::string strName = argument(in_cmd, 0);
    const std::string strValue = argument(in_cmd, 1);
    ParameterValue value;
    value.initFromText(strValue.c_str(), ParameterValue::NO_VALUE_TYPE, true);
    if (!RWGlobalConfig::getInstance()->setValue(strName, value))
        return refuse(io_result, "failed to set configuration parameter" + strName + " to value " + strValue);
    io_result.m_strStatusText = "Success";
    return true;
}

std::ostream& OAMManager::SetConfigParamHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "set-config-param <parameter-name> <new-parameter-value>";
}

bool OAMManager::SetConfigParamHandler::checkUsage(const OAMCommand& in_cmd,
                                                   SoapOAM__OAMCommandExecResult& io_result) const
{
    if (in_cmd.getNumArg() != 2)
        return refuse(io_result, "Missing arguments");
    if (!GlobalConfig::getInstance()->hasParameter(argument(in_cmd, 0)))
        return refuse(io_result, "Invalid config parameter: " + argument(in_cmd, 0));
    return true;
}

bool OAMManager::GetConfigParamHandler::executeCommand(const OAMCommand& in_cmd,
                                                       SoapOAM__OAMCommandExecResult& io_result)
{
    TraceScope trace(managerLogger(), "OAMManager::GetConfigParamHandler::executeCommand");
    if (!validateUsage(in_cmd, io_result))
        return false;
    std::ostringstream text;
    if (in_cmd.getNumArg() == 0) {
        LH_DEBUG(managerLogger(), "Getting all configuration parameters");
        text << "Success\n" << *GlobalConfig::getInstance();
    } else {
        const std::string strName = argument(in_cmd, 0);
        LH_DEBUG(managerLogger(), "Getting value of configuration parameter" << strName);
        ParameterValue value;
        GlobalConfig::getInstance()->getValue(strName, value);
        if (!value.hasValue())
            return refuse(io_result, "failed to get value for parameter: " + strName);
        text << "Success\n" << strName << "=" << value;
    }
    io_result.m_strStatusText += text.str();
    return true;
}

std::ostream& OAMManager::GetConfigParamHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "get-config-param [parameter-name]";
}

bool OAMManager::GetConfigParamHandler::checkUsage(const OAMCommand& in_cmd,
                                                   SoapOAM__OAMCommandExecResult& io_result) const
{
    if (in_cmd.getNumArg() > 1)
        return refuse(io_result, "Invalid number of arguments");
    if (in_cmd.getNumArg() == 1 && !GlobalConfig::getInstance()->hasParameter(argument(in_cmd, 0)))
        return refuse(io_result, "Invalid configuration parameter : " + argument(in_cmd, 0));
    return true;
}
