#include "oam/channel/ChannelRegexMatch.h"

#include <stdexcept>
#include <string>

#include "host/core/AceCleanupLogger.h"
#include "host/core/Assertion.h"

namespace {
const Logger& channelOpsLogger()
{
    return AceCleanupLogger::get("linkhaven.oam.ObjectWithChannelOps");
}
} // namespace

ObjectWithChannelOps::ChannelRegexMatch::ChannelRegexMatch() = default;

ObjectWithChannelOps::ChannelRegexMatch::~ChannelRegexMatch() = default;

bool ObjectWithChannelOps::ChannelRegexMatch::initialize(const char* in_szPattern)
{
    // Without a pattern from here on, until the new one has compiled.
    m_nameRegex.reset();
    try {
        m_nameRegex = std::make_unique<BoostRegex>(in_szPattern, 0);
        return true;
    } catch (const std::runtime_error& e) {
        LH_ERROR(channelOpsLogger(), e.what());
        return false;
    }
}

bool ObjectWithChannelOps::ChannelRegexMatch::operator()(const char* in_szChannelName) const
{
    if (!m_nameRegex) {
        Assertion(false, "m_nameRegex != 0", __FILE__, __LINE__);
        return false;
    }
    try {
        return BoostRegex::regex_search(std::string(in_szChannelName), *m_nameRegex);
    } catch (const std::runtime_error& e) {
        LH_ERROR(channelOpsLogger(), e.what());
        return false;
    }
}
