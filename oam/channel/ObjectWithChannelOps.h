#pragma once
// The vocabulary the host's channel components share: the operation to perform on a PSTN channel,
// its text forms, and predicates that select channels by name.

#include "host/core/Fallible.h"

class ObjectWithChannelOps
{
  public:
    enum ChannelOpType
    {
        QUIESCE_OP = 0,
        PUT_OUT_OF_SERVICE_OP = 1,
        PUT_IN_SERVICE_OP = 2
    };

    // Selects channels by name.
    class ChannelMatch
    {
      public:
        virtual ~ChannelMatch();
        virtual bool operator()(const char* in_szChannelName) const = 0;
    };

    class ChannelRegexMatch;
};

// Never null: "ChannelOpType???" for a value outside the enumeration.
const char* getChannelOpTypeString(ObjectWithChannelOps::ChannelOpType in_type);

// The first letter must be lower case; the rest of the word is compared without ASCII case.
// "is"/"in-service" and "oos"/"out-of-service" name the same operations as the long forms.
Fallible<ObjectWithChannelOps::ChannelOpType> parseChannelOpTypeString(const char* in_szText);
