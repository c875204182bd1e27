#pragma once
// Selects the channels whose names contain a match of a regular expression (Perl syntax,
// case-sensitive; anchors are the pattern's own). Initialised by one thread before any matching;
// matching only reads the compiled pattern.

#include <memory>

#include "host/core/BoostRegex.h"
#include "oam/channel/ObjectWithChannelOps.h"

class ObjectWithChannelOps::ChannelRegexMatch : public ObjectWithChannelOps::ChannelMatch
{
  public:
    ChannelRegexMatch();
    ~ChannelRegexMatch() override;
    ChannelRegexMatch(const ChannelRegexMatch&) = delete;
    ChannelRegexMatch& operator=(const ChannelRegexMatch&) = delete;

    // Replaces the pattern; a malformed one is logged and leaves the matcher without any.
    bool initialize(const char* in_szPattern);

    bool operator()(const char* in_szChannelName) const override;

  private:
    std::unique_ptr<BoostRegex> m_nameRegex;
};
