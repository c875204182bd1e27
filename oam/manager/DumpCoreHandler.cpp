#include "oam/manager/DumpCoreHandler.h"

#include <cstring>

#include "host/core/Assertion.h"
#include "host/infra/CoreDump.h"
#include "oam/manager/AdminHandlerSupport.h"

using namespace AdminHandlerSupport;

bool OAMManager::DumpCoreHandler::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result)
{
    if (!validateUsage(in_cmd, io_result))
        return false;
    io_result.m_strStatusText = "Error";
    if (!Assertion(in_cmd.getNumArg() == 1, "in_cmd.getNumArg() == 1", __FILE__, __LINE__, managerLogger()))
        return false;
    const std::string strPath = argument(in_cmd, 0);
    if (!dumpCore(strPath))
        return refuse(io_result, ". Failed to write core to " + strPath);
    io_result.m_strStatusText = "Successfully wrote core to " + strPath;
    return true;
}

std::ostream& OAMManager::DumpCoreHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "dump-core core-path";
}

bool OAMManager::DumpCoreHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult&) const
{
    return std::strcmp(in_cmd.getName(), "dump-core") == 0 && in_cmd.getNumArg() == 1;
}
