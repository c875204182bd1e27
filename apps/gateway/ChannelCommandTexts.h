#pragma once
// What the channel command handlers share: the pattern argument and the texts they all give.

#include <string>

#include "apps/gateway/PstnChannelComponent.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"
#include "oam/command/OAMCommand.h"
#include "oam/soap/SoapOAMRecords.h"

namespace ChannelCommandTexts {

// The pattern of argument 0, or "" (every channel) when there is none.
inline std::string patternOf(const OAMCommand& in_cmd)
{
    return in_cmd.getNumArg() > 0 ? in_cmd.getArg(0) : "";
}

// The pattern that checkUsage compiled, kept for the executeCommand that follows it, so that a
// command's pattern is compiled once. A handler's member; its thread only.
class CheckedPattern
{
  public:
    // For checkUsage: false, refusing with the text, when the pattern does not compile.
    bool check(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const
    {
        m_strPattern = patternOf(in_cmd);
        m_pMatch = PstnChannelComponent::compileMatch(m_strPattern);
        return m_pMatch ||
               OAMCmdExecuterTaskImpl::CmdExecutionHandler::refuse(io_result, "Invalid channel pattern : " + m_strPattern);
    }
    // For executeCommand: the match checked last when it is of this pattern, else compiled now.
    PstnChannelComponent::MatchPtr take(const std::string& in_strPattern) const
    {
        PstnChannelComponent::MatchPtr pMatch = std::move(m_pMatch); // the handler keeps none
        return pMatch && m_strPattern == in_strPattern ? pMatch : PstnChannelComponent::compileMatch(in_strPattern);
    }

  private:
    mutable std::string m_strPattern;
    mutable PstnChannelComponent::MatchPtr m_pMatch;
};

inline std::string noChannelMatches(const std::string& in_strPattern) { return "No channel matches " + in_strPattern; }
inline const char* const NO_ANSWER = "The PSTN channel component did not answer";

} // namespace ChannelCommandTexts
