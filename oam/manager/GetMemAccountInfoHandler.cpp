#include "oam/manager/GetMemAccountInfoHandler.h"

#include <cstring>

#include "host/core/MemAccountInfo.h"
#include "host/core/StaticAccountMemAllocator.h"
#include "oam/manager/AdminHandlerSupport.h"

using namespace AdminHandlerSupport;

bool OAMManager::GetMemAccountInfoHandler::executeCommand(const OAMCommand& in_cmd,
                                                          SoapOAM__OAMCommandExecResult& io_result)
{
    if (!validateUsage(in_cmd, io_result))
        return false;
    m_stream.str("");
    m_stream.clear();
    bool bOk = true;
    if (in_cmd.getNumArg() > 0) {
        for (std::uint64_t i = 0; i < in_cmd.getNumArg(); ++i) {
            const std::string strAccount = argument(in_cmd, i);
            if (i != 0)
                m_stream << '\n';
            MemAccountInfo info;
            if (StaticAccountMemAllocator::getMemAccountInfo(strAccount, info)) {
                m_stream << strAccount << " : ";
                info.write(m_stream);
            } else {
                m_stream << strAccount << " " << " : failed to retrieve memory accounting information";
                bOk = false;
            }
        }
    } else {
        MemAccountInfoHash accounts(100);
        if (StaticAccountMemAllocator::getMemAccountInfo(accounts)) {
            accounts.write(m_stream);
        } else {
            m_stream << "failed to retrieve memory accounting information for all accounts";
            bOk = false;
        }
    }
    io_result.m_strStatusText = m_stream.str();
    // The answer is the result's now: a large one must not stay held here until the next run.
    std::ostringstream().swap(m_stream);
    return bOk;
}

std::ostream& OAMManager::GetMemAccountInfoHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "get-mem-account-info [account-name1 account-name2 ... ]";
}

bool OAMManager::GetMemAccountInfoHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult&) const
{
    return std::strcmp(in_cmd.getName(), "get-mem-account-info") == 0;
}
