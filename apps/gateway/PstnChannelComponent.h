#pragma once
// The PSTN side of the gateway: a task that owns the simulated channels. Other components reach
// the channels only through the requests below, which run on this task's thread.
//
// Host thread before start: construction. Any thread but the task's own: the requests.

#include <memory>
#include <string>

#include <ace/Time_Value.h>

#include "apps/gateway/ChannelTable.h"
#include "host/thread/StaticReactorTaskImpl.h"

class PstnChannelComponent : public StaticReactorTaskImpl
{
  public:
    // Shared with the task's thread, which only reads it: a caller that gave up may let it go first.
    using MatchPtr = std::shared_ptr<const ObjectWithChannelOps::ChannelMatch>;

    // What the other components give each request: well inside the web service's 250 ms for the
    // whole command or OM.
    static const ACE_Time_Value REQUEST_TIMEOUT;

    // Null for a malformed pattern, which the channel matcher logs.
    static MatchPtr compileMatch(const std::string& in_strPattern);

    PstnChannelComponent(unsigned in_uiSpanCount, unsigned in_uiChannelsPerSpan);
    ~PstnChannelComponent() override;

    // Each gives false when no answer came within the time-out.
    bool applyOperation(ObjectWithChannelOps::ChannelOpType in_op, const MatchPtr& in_pMatch,
                        ChannelTable::Outcome& out_outcome, const ACE_Time_Value& in_timeout);
    bool listChannels(const MatchPtr& in_pMatch, std::string& out_strList, const ACE_Time_Value& in_timeout);
    bool getStatus(std::string& out_strStatus, const ACE_Time_Value& in_timeout);
    bool countChannels(unsigned in_uiSpan, ChannelTable::ChannelState in_state, unsigned& out_uiCount,
                       const ACE_Time_Value& in_timeout);

  private:
    ChannelTable::Outcome applyOperation_i(ObjectWithChannelOps::ChannelOpType in_op, const MatchPtr& in_pMatch);
    std::string listChannels_i(const MatchPtr& in_pMatch) const;
    std::string getStatus_i() const;

    // Task thread only, once started.
    ChannelTable m_channels;
};
