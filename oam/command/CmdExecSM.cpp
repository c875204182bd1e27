#include "oam/command/CmdExecSM.h"

#include <algorithm>

#include <ace/OS_NS_string.h>

#include "host/core/Assertion.h"
#include "host/core/TraceScope.h"
#include "host/thread/ThreadChecker.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"

CmdExecSM::CmdExecSM() : CachedLLLogger(Logger("linkhaven.oam.CmdExecSM")) {}

bool CmdExecSM::start(OAMCmdExecuterTaskImpl* in_pTaskImpl, const OAMCommand& in_cmd,
                      std::unique_ptr<OAMCmdExecObserver> in_pObserver)
{
    LH_CHECK_THREAD(in_pTaskImpl->getThreadChecker());
    // Once per command, so that a level set since the last one is in force for this one.
    refreshLogLevel();
    m_pTaskImpl = in_pTaskImpl;
    m_pCommand.reset(in_cmd.clone());
    m_pObserver = std::move(in_pObserver);
    m_bFinal = false;
    m_uiNumExecuterLeft = numExecuters();
    m_pTaskImpl->getSupportedCommands(m_vSupportedCommands);
    return true;
}

bool CmdExecSM::commandExecuted(const char* in_szCmdName, const SoapOAM__OAMCommandExecResult& in_result,
                                std::uint64_t in_uiReporterIndex)
{
    LH_CHECK_THREAD(m_pTaskImpl->getThreadChecker());
    if (!answerMatches(in_szCmdName, in_uiReporterIndex))
        return false;
    if (m_bFinal) {
        LH_WARN(*this, "unexpected ExecCmd success in final state. Ignoring");
        return true;
    }
    m_bFinal = true;
    if (m_pObserver) {
        m_pObserver->executeCommandSuccess(in_result);
        m_pObserver.reset();
    }
    return true;
}

bool CmdExecSM::commandNotSupported(const char* in_szCmdName, const StringVector& in_vSupported,
                                    std::uint64_t in_uiReporterIndex)
{
    LH_CHECK_THREAD(m_pTaskImpl->getThreadChecker());
    TraceScope trace(*this, "CmdExecSM::commandNotSupported");
    LH_DEBUG(*this, "in_szCmdName=" << in_szCmdName);
    LH_DEBUG(*this, "in_uiReporterIndex=" << in_uiReporterIndex);
    LH_DEBUG(*this, "m_uiNumExecuter=" << numExecuters());
    if (!answerMatches(in_szCmdName, in_uiReporterIndex))
        return false;
    if (!Assertion(m_uiNumExecuterLeft > 0, "m_uiNumExecuterLeft > 0", __FILE__, __LINE__, *this))
        return false;
    --m_uiNumExecuterLeft;
    if (m_bFinal)
        return true;
    m_vSupportedCommands.insert(m_vSupportedCommands.end(), in_vSupported.begin(), in_vSupported.end());
    if (m_uiNumExecuterLeft == 0) {
        m_bFinal = true;
        if (m_pObserver) {
            std::sort(m_vSupportedCommands.begin(), m_vSupportedCommands.end());
            m_vSupportedCommands.erase(std::unique(m_vSupportedCommands.begin(), m_vSupportedCommands.end()),
                                       m_vSupportedCommands.end());
            m_pObserver->executeCommandFailure(m_vSupportedCommands);
            m_pObserver.reset();
        }
    }
    return true;
}

void CmdExecSM::proxiesGone()
{
    LH_CHECK_THREAD(m_pTaskImpl->getThreadChecker());
    m_bFinal = true;
    m_pObserver.reset();
}

bool CmdExecSM::answerMatches(const char* in_szCmdName, std::uint64_t in_uiReporterIndex) const
{
    return Assertion(ACE_OS_String::strcmp(m_pCommand->getName(), in_szCmdName) == 0,
                     "ACE_OS_String::strcmp(m_pCommand->getName(), in_szCmdName) == 0", __FILE__, __LINE__, *this) &&
           Assertion(in_uiReporterIndex < numExecuters(),
                     "in_uiReporterIndex < m_pTaskImpl->m_vChildOAMCmdExecuter.size()", __FILE__, __LINE__, *this);
}

std::uint64_t CmdExecSM::numExecuters() const
{
    return m_pTaskImpl->m_vChildOAMCmdExecuter.size();
}
