#include "apps/gateway/ChannelCommandExecuter.h"

#include <cstring>

#include "apps/gateway/ChannelOpHandler.h"
#include "apps/gateway/ListChannelsHandler.h"
#include "host/thread/ThreadChecker.h"

ChannelCommandExecuter::ChannelCommandExecuter(PstnChannelComponent& io_channels, unsigned in_uiSpanCount)
    : m_spanAlarms(in_uiSpanCount), m_pListHandler(new ListChannelsHandler(io_channels))
{
    setTaskName("ChannelCommandExecuter");
    for (auto op : {ObjectWithChannelOps::PUT_IN_SERVICE_OP, ObjectWithChannelOps::PUT_OUT_OF_SERVICE_OP,
                    ObjectWithChannelOps::QUIESCE_OP})
        m_opHandlers[op] = CmdExecutionHandlerPtr(new ChannelOpHandler(op, io_channels, m_spanAlarms));
}

ChannelCommandExecuter::~ChannelCommandExecuter() { endThreadForDestruction(); }

void ChannelCommandExecuter::getSupportedCommands(StringVector& out_vCommands) const
{
    out_vCommands.clear();
    for (const auto& handler : m_opHandlers)
        out_vCommands.push_back(getChannelOpTypeString(handler.first));
    out_vCommands.push_back(LIST_CHANNELS);
}

ChannelCommandExecuter::CmdExecutionHandlerPtr ChannelCommandExecuter::findCmdExecHandler_i(const OAMCommand& in_cmd)
{
    LH_CHECK_TASK_THREAD();
    if (std::strcmp(in_cmd.getName(), LIST_CHANNELS) == 0)
        return m_pListHandler;
    const Fallible<ObjectWithChannelOps::ChannelOpType> op = parseChannelOpTypeString(in_cmd.getName());
    return op.valid() ? m_opHandlers.at(op.value()) : CmdExecutionHandlerPtr();
}
