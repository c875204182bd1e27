#pragma once
// "list-channels [channel-pattern]": each channel whose name matches, all without a pattern, with
// its state. Channel command executer's thread only.

#include "apps/gateway/ChannelCommandTexts.h"
#include "apps/gateway/PstnChannelComponent.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"

class ListChannelsHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    explicit ListChannelsHandler(PstnChannelComponent& io_channels) : m_channels(io_channels) {}

    // "span1-ch1 in-service", one line per channel; fails with "No channel matches <pattern>".
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;

  private:
    PstnChannelComponent& m_channels;
    ChannelCommandTexts::CheckedPattern m_pattern;
};
