#include "apps/gateway/PstnChannelComponent.h"

#include "apps/gateway/TaskRequest_MO.h"
#include "oam/channel/ChannelRegexMatch.h"
#include "host/thread/ThreadChecker.h"

const ACE_Time_Value PstnChannelComponent::REQUEST_TIMEOUT(0, 100000);

PstnChannelComponent::MatchPtr PstnChannelComponent::compileMatch(const std::string& in_strPattern)
{
    auto pMatch = std::make_shared<ObjectWithChannelOps::ChannelRegexMatch>();
    return pMatch->initialize(in_strPattern.c_str()) ? pMatch : MatchPtr();
}

PstnChannelComponent::PstnChannelComponent(unsigned in_uiSpanCount, unsigned in_uiChannelsPerSpan)
    : m_channels(in_uiSpanCount, in_uiChannelsPerSpan)
{
    setTaskName("PstnChannelComponent");
}

PstnChannelComponent::~PstnChannelComponent() { endThreadForDestruction(); }

bool PstnChannelComponent::applyOperation(ObjectWithChannelOps::ChannelOpType in_op, const MatchPtr& in_pMatch,
                                          ChannelTable::Outcome& out_outcome, const ACE_Time_Value& in_timeout)
{
    return TaskRequest_MO<ChannelTable::Outcome>::ask(
        *this, "PstnChannelComponent::applyOperation",
        [this, in_op, in_pMatch] { return applyOperation_i(in_op, in_pMatch); }, out_outcome, in_timeout);
}

bool PstnChannelComponent::listChannels(const MatchPtr& in_pMatch, std::string& out_strList,
                                        const ACE_Time_Value& in_timeout)
{
    return TaskRequest_MO<std::string>::ask(*this, "PstnChannelComponent::listChannels",
                                            [this, in_pMatch] { return listChannels_i(in_pMatch); }, out_strList,
                                            in_timeout);
}

bool PstnChannelComponent::getStatus(std::string& out_strStatus, const ACE_Time_Value& in_timeout)
{
    return TaskRequest_MO<std::string>::ask(*this, "PstnChannelComponent::getStatus", [this] { return getStatus_i(); },
                                            out_strStatus, in_timeout);
}

bool PstnChannelComponent::countChannels(unsigned in_uiSpan, ChannelTable::ChannelState in_state, unsigned& out_uiCount,
                                         const ACE_Time_Value& in_timeout)
{
    return TaskRequest_MO<unsigned>::ask(
        *this, "PstnChannelComponent::countChannels",
        [this, in_uiSpan, in_state] {
            LH_CHECK_TASK_THREAD();
            return m_channels.count(in_uiSpan, in_state);
        },
        out_uiCount, in_timeout);
}

ChannelTable::Outcome PstnChannelComponent::applyOperation_i(ObjectWithChannelOps::ChannelOpType in_op,
                                                             const MatchPtr& in_pMatch)
{
    LH_CHECK_TASK_THREAD();
    return m_channels.apply(in_op, *in_pMatch);
}

std::string PstnChannelComponent::listChannels_i(const MatchPtr& in_pMatch) const
{
    LH_CHECK_TASK_THREAD();
    return m_channels.list(*in_pMatch);
}

std::string PstnChannelComponent::getStatus_i() const
{
    LH_CHECK_TASK_THREAD();
    return m_channels.status();
}
