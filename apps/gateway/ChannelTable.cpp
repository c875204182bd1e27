#include "apps/gateway/ChannelTable.h"

#include <algorithm>
#include <set>
#include <sstream>

ChannelTable::ChannelTable(unsigned in_uiSpanCount, unsigned in_uiChannelsPerSpan)
    : m_uiSpanCount(in_uiSpanCount), m_uiChannelsPerSpan(in_uiChannelsPerSpan)
{
    m_vChannels.reserve(static_cast<std::size_t>(in_uiSpanCount) * in_uiChannelsPerSpan);
    for (unsigned uiSpan = 1; uiSpan <= in_uiSpanCount; ++uiSpan) {
        for (unsigned uiChannel = 1; uiChannel <= in_uiChannelsPerSpan; ++uiChannel)
            m_vChannels.push_back({spanName(uiSpan) + "-ch" + std::to_string(uiChannel), uiSpan, IN_SERVICE});
    }
}

ChannelTable::Outcome ChannelTable::apply(ObjectWithChannelOps::ChannelOpType in_op,
                                          const ObjectWithChannelOps::ChannelMatch& in_match)
{
    const ChannelState newState = stateAfter(in_op);
    Outcome outcome;
    std::set<unsigned> touchedSpans;
    for (Channel& channel : m_vChannels) {
        if (!in_match(channel.strName.c_str()))
            continue;
        ++outcome.uiSelected;
        if (channel.state != newState) {
            channel.state = newState;
            ++outcome.uiChanged;
        }
        touchedSpans.insert(channel.uiSpan);
    }
    for (unsigned uiSpan : touchedSpans) {
        outcome.spanOutOfService[uiSpan] =
            std::all_of(spanBegin(uiSpan), spanEnd(uiSpan),
                        [](const Channel& in_channel) { return in_channel.state == OUT_OF_SERVICE; });
    }
    return outcome;
}

std::string ChannelTable::list(const ObjectWithChannelOps::ChannelMatch& in_match) const
{
    std::ostringstream text;
    const char* szSeparator = "";
    for (const Channel& channel : m_vChannels) {
        if (in_match(channel.strName.c_str())) {
            text << szSeparator << channel.strName << ' ' << getStateString(channel.state);
            szSeparator = "\n";
        }
    }
    return text.str();
}

std::string ChannelTable::status() const
{
    std::ostringstream text;
    for (unsigned uiSpan = 1; uiSpan <= m_uiSpanCount; ++uiSpan) {
        text << (uiSpan > 1 ? "\n" : "") << spanName(uiSpan) << ": " << count(uiSpan, IN_SERVICE) << ' '
             << getStateString(IN_SERVICE) << ", " << count(uiSpan, QUIESCED) << ' ' << getStateString(QUIESCED)
             << ", " << count(uiSpan, OUT_OF_SERVICE) << ' ' << getStateString(OUT_OF_SERVICE);
    }
    return text.str();
}

unsigned ChannelTable::count(unsigned in_uiSpan, ChannelState in_state) const
{
    if (in_uiSpan < 1 || in_uiSpan > m_uiSpanCount)
        return 0;
    unsigned uiCount = 0;
    for (auto channel = spanBegin(in_uiSpan); channel != spanEnd(in_uiSpan); ++channel)
        uiCount += channel->state == in_state ? 1 : 0;
    return uiCount;
}

ChannelTable::ChannelState ChannelTable::stateAfter(ObjectWithChannelOps::ChannelOpType in_op)
{
    switch (in_op) {
    case ObjectWithChannelOps::PUT_IN_SERVICE_OP:
        return IN_SERVICE;
    case ObjectWithChannelOps::QUIESCE_OP:
        return QUIESCED;
    default:
        return OUT_OF_SERVICE;
    }
}

const char* ChannelTable::getStateString(ChannelState in_state)
{
    switch (in_state) {
    case IN_SERVICE:
        return "in-service";
    case QUIESCED:
        return "quiesced";
    default:
        return "out-of-service";
    }
}

std::string ChannelTable::spanName(unsigned in_uiSpan) { return "span" + std::to_string(in_uiSpan); }

std::vector<ChannelTable::Channel>::const_iterator ChannelTable::spanBegin(unsigned in_uiSpan) const
{
    return m_vChannels.begin() + static_cast<std::ptrdiff_t>(in_uiSpan - 1) * m_uiChannelsPerSpan;
}

std::vector<ChannelTable::Channel>::const_iterator ChannelTable::spanEnd(unsigned in_uiSpan) const
{
    return spanBegin(in_uiSpan) + m_uiChannelsPerSpan;
}
