#pragma once
// Runs one channel operation, "put-in-service", "put-out-of-service" or "quiesce", on the channels
// whose names match the command's pattern, and raises or clears the alarms of the spans it
// touched. Channel command executer's thread only.

#include "apps/gateway/ChannelCommandTexts.h"
#include "apps/gateway/PstnChannelComponent.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"

class SpanAlarms;

class ChannelOpHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    ChannelOpHandler(ObjectWithChannelOps::ChannelOpType in_op, PstnChannelComponent& io_channels,
                     SpanAlarms& io_spanAlarms);

    // "24 channels match ^span2- : 24 changed to out-of-service", then one line per alarm that
    // changed; fails with "No channel matches <pattern>".
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override;
    std::ostream& printUsage(std::ostream& io_os) const override;
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override;

  private:
    const ObjectWithChannelOps::ChannelOpType m_op;
    PstnChannelComponent& m_channels;
    ChannelCommandTexts::CheckedPattern m_pattern;
    SpanAlarms& m_spanAlarms;
};
