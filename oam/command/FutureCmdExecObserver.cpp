#include "oam/command/FutureCmdExecObserver.h"

OAMCmdExecuterTaskImpl::FutureCmdExecObserver::~FutureCmdExecObserver()
{
    if (!m_bTold)
        m_future.set(Fallible<SoapOAM__OAMCommandExecResult>());
}

bool OAMCmdExecuterTaskImpl::FutureCmdExecObserver::executeCommandSuccess(const SoapOAM__OAMCommandExecResult& in_result)
{
    m_bTold = true;
    m_future.set(in_result);
    return true;
}

bool OAMCmdExecuterTaskImpl::FutureCmdExecObserver::executeCommandFailure(const StringVector& in_supportedCommands)
{
    SoapOAM__OAMCommandExecResult result;
    result.m_bExecSuccess = false;
    result.m_strStatusText = "Command not supported. Supported commands :";
    for (const std::string& strCommand : in_supportedCommands) {
        result.m_strStatusText += '\n';
        result.m_strStatusText += strCommand;
    }
    m_bTold = true;
    m_future.set(result);
    return true;
}
