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

// For checkUsage: the pattern must compile.
inline bool checkPattern(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result)
{
    return PstnChannelComponent::compileMatch(patternOf(in_cmd)) ||
           OAMCmdExecuterTaskImpl::CmdExecutionHandler::refuse(io_result, "Invalid channel pattern : " + patternOf(in_cmd));
}

inline std::string noChannelMatches(const std::string& in_strPattern) { return "No channel matches " + in_strPattern; }
inline const char* const NO_ANSWER = "The PSTN channel component did not answer";

} // namespace ChannelCommandTexts
