#pragma once
// The child command executer of the channel commands: "put-in-service", "put-out-of-service" and
// "quiesce" (also by their short names, "is", "oos"...), each on the channels that a pattern
// selects, and "list-channels". It keeps the span alarms up to date as the operations change the
// channels. Registered with the OAM manager, which offers it every command it does not know.
//
// Host thread before start: construction. Any thread: executeCommand. Handlers run on its thread.

#include <map>

#include "apps/gateway/SpanAlarms.h"
#include "host/thread/StaticReactorTaskImpl.h"
#include "oam/channel/ObjectWithChannelOps.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"
#include "oam/command/ReadOnlyCommands.h"

class PstnChannelComponent;

class ChannelCommandExecuter : public StaticReactorTaskImpl, public OAMCmdExecuterTaskImpl, public ReadOnlyCommands
{
  public:
    static constexpr const char* LIST_CHANNELS = "list-channels";

    // The component must outlive this executer's thread.
    ChannelCommandExecuter(PstnChannelComponent& io_channels, unsigned in_uiSpanCount);
    ~ChannelCommandExecuter() override;

    // The three operations by their long names, then "list-channels".
    void getSupportedCommands(StringVector& out_vCommands) const override;
    // "list-channels" only reads.
    void listReadOnlyCommands(std::vector<std::string>& io_vNames) const override { io_vNames.push_back(LIST_CHANNELS); }

  protected:
    CmdExecutionHandlerPtr findCmdExecHandler_i(const OAMCommand& in_cmd) override;

  private:
    // Before the handlers, which refer to it.
    SpanAlarms m_spanAlarms;
    std::map<ObjectWithChannelOps::ChannelOpType, CmdExecutionHandlerPtr> m_opHandlers;
    CmdExecutionHandlerPtr m_pListHandler;
};
