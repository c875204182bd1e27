#include "apps/gateway/ListChannelsHandler.h"

#include "apps/gateway/ChannelCommandTexts.h"

using namespace ChannelCommandTexts;

bool ListChannelsHandler::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result)
{
    const std::string strPattern = patternOf(in_cmd);
    std::string strList;
    if (!m_channels.listChannels(m_pattern.take(strPattern), strList, PstnChannelComponent::REQUEST_TIMEOUT))
        return refuse(io_result, NO_ANSWER);
    if (strList.empty())
        return refuse(io_result, noChannelMatches(strPattern));
    io_result.m_strStatusText = strList;
    return true;
}

std::ostream& ListChannelsHandler::printUsage(std::ostream& io_os) const
{
    return io_os << "list-channels [channel-pattern]";
}

bool ListChannelsHandler::checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const
{
    return in_cmd.getNumArg() <= 1 && m_pattern.check(in_cmd, io_result);
}
