#pragma once
// The bookkeeping of one command fanned out to the child executers of a task: the first result
// wins; when every child says "not supported", the observer gets the sorted union of the names
// the children and the task itself support. Task thread only; reused through the task's pool.

#include <cstdint>
#include <memory>

#include "host/core/CachedLLLogger.h"
#include "host/core/MemAccounted.h"
#include "host/core/StringVector.h"
#include "host/thread/Object.h"
#include "oam/command/OAMCmdExecObserver.h"
#include "oam/command/OAMCommand.h"

class OAMCmdExecuterTaskImpl;

class CmdExecSM : public CachedLLLogger, public virtual Object, public MemAccounted<CmdExecSM>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "CmdExecSM";

    CmdExecSM();

    // Arms the machine; the observer (may be null) belongs to it from here on. What a previous
    // use left (its command, an observer never told) is deleted now.
    bool start(OAMCmdExecuterTaskImpl* in_pTaskImpl, const OAMCommand& in_cmd,
               std::unique_ptr<OAMCmdExecObserver> in_pObserver);

    bool commandExecuted(const char* in_szCmdName, const SoapOAM__OAMCommandExecResult& in_result,
                         std::uint64_t in_uiReporterIndex);
    bool commandNotSupported(const char* in_szCmdName, const StringVector& in_vSupported,
                             std::uint64_t in_uiReporterIndex);

    // No proxy holds the machine any more, so no answer can come: an outcome not given yet is given
    // up, the observer deleted untold (a synchronous caller learns it now, not at the next use).
    void proxiesGone();

  private:
    // The checks that catch an answer meant for an earlier use of this machine.
    bool answerMatches(const char* in_szCmdName, std::uint64_t in_uiReporterIndex) const;
    std::uint64_t numExecuters() const;

    OAMCmdExecuterTaskImpl* m_pTaskImpl = nullptr;
    std::unique_ptr<OAMCommand> m_pCommand;
    std::unique_ptr<OAMCmdExecObserver> m_pObserver;
    bool m_bFinal = false;
    std::uint64_t m_uiNumExecuterLeft = 0;
    StringVector m_vSupportedCommands;
};
