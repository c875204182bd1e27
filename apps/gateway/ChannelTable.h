#pragma once
// The gateway's simulated PSTN channels: spans of channels named "span<S>-ch<C>", counted from 1,
// each in service, quiesced or out of service. Every channel starts in service.
//
// Owned by the PSTN channel component's thread; not locked.

#include <map>
#include <string>
#include <vector>

#include "oam/channel/ObjectWithChannelOps.h"

class ChannelTable
{
  public:
    enum ChannelState
    {
        IN_SERVICE,
        QUIESCED,
        OUT_OF_SERVICE
    };

    struct Outcome
    {
        unsigned uiSelected = 0;
        unsigned uiChanged = 0;
        // For each span (by number) with a selected channel: whether all its channels are now out of service.
        std::map<unsigned, bool> spanOutOfService;
    };

    ChannelTable(unsigned in_uiSpanCount, unsigned in_uiChannelsPerSpan);

    // Puts each selected channel in the state the operation leads to.
    Outcome apply(ObjectWithChannelOps::ChannelOpType in_op, const ObjectWithChannelOps::ChannelMatch& in_match);
    // "span1-ch1 in-service", one line per selected channel in table order; empty when none is.
    std::string list(const ObjectWithChannelOps::ChannelMatch& in_match) const;
    // "span1: 24 in-service, 0 quiesced, 0 out-of-service", one line per span.
    std::string status() const;
    // The channels of the span (by number) in that state; 0 for a span there is not.
    unsigned count(unsigned in_uiSpan, ChannelState in_state) const;

    static ChannelState stateAfter(ObjectWithChannelOps::ChannelOpType in_op);
    // "in-service", "quiesced", "out-of-service".
    static const char* getStateString(ChannelState in_state);
    static std::string spanName(unsigned in_uiSpan);

  private:
    struct Channel
    {
        std::string strName;
        unsigned uiSpan;
        ChannelState state;
    };

    // The channels of a span, which lie next to each other in the table.
    std::vector<Channel>::const_iterator spanBegin(unsigned in_uiSpan) const;
    std::vector<Channel>::const_iterator spanEnd(unsigned in_uiSpan) const;

    const unsigned m_uiSpanCount;
    const unsigned m_uiChannelsPerSpan;
    std::vector<Channel> m_vChannels;
};
