#include "apps/gateway/ChannelOpHandler.h"

#include <sstream>

#include "apps/gateway/ChannelCommandTexts.h"
#include "apps/gateway/SpanAlarms.h"

using namespace ChannelCommandTexts;

ChannelOpHandler::ChannelOpHandler(ObjectWithChannelOps::ChannelOpType in_op, PstnChannelComponent& io_channels,
                                   SpanAlarms& io_spanAlarms)
    : m_op(in_op), m_channels(io_channels), m_spanAlarms(io_spanAlarms)
{
}

bool ChannelOpHandler::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result)
{
    const std::string strPattern = patternOf(in_cmd);
    ChannelTable::Outcome outcome;
    if (!m_channels.applyOperation(m_op, m_pattern.take(strPattern), outcome, PstnChannelComponent::REQUEST_TIMEOUT))
        return refuse(io_result, NO_ANSWER);
    if (outcome.uiSelected == 0)
        return refuse(io_result, noChannelMatches(strPattern));
    std::ostringstream text;
    text << outcome.uiSelected << (outcome.uiSelected == 1 ? " channel matches " : " channels match ") << strPattern
         << " : " << outcome.uiChanged << " changed to " << ChannelTable::getStateString(ChannelTable::stateAfter(m_op));
    for (const auto& span : outcome.spanOutOfService) {
        const std::string strAlarmChange = m_spanAlarms.update(span.first, span.second);
        if (!strAlarmChange.empty())
            text << '\n' << strAlarmChange;
    }
    io_result.m_strStatusText = text.str();
    return true;
}

std::ostream& ChannelOpHandler::printUsage(std::ostream& io_os) const
{
    return io_os << getChannelOpTypeString(m_op) << " channel-pattern";
}

bool ChannelOpHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const
{
    return in_cmd.getNumArg() == 1 && m_pattern.check(in_cmd, io_result);
}
