#include "oam/channel/ObjectWithChannelOps.h"

#include <strings.h>

namespace {
bool equalsIgnoringCase(const char* in_szText, const char* in_szWord)
{
    return ::strcasecmp(in_szText, in_szWord) == 0;
}
} // namespace

const char* ObjectWithChannelOps::getChannelOpTypeString(ChannelOpType in_type)
{
    switch (in_type) {
    case QUIESCE_OP:
        return "quiesce";
    case PUT_OUT_OF_SERVICE_OP:
        return "put-out-of-service";
    case PUT_IN_SERVICE_OP:
        return "put-in-service";
    }
    return "ChannelOpType???";
}

Fallible<ObjectWithChannelOps::ChannelOpType> ObjectWithChannelOps::parseChannelOpTypeString(const char* in_szText)
{
    if (!in_szText || !*in_szText)
        return {};
    // The first letter picks the candidates as it stands, so "IS" or "Quiesce" name nothing.
    switch (in_szText[0]) {
    case 'i':
        if (equalsIgnoringCase(in_szText, "is") || equalsIgnoringCase(in_szText, "in-service"))
            return PUT_IN_SERVICE_OP;
        break;
    case 'o':
        if (equalsIgnoringCase(in_szText, "oos") || equalsIgnoringCase(in_szText, "out-of-service"))
            return PUT_OUT_OF_SERVICE_OP;
        break;
    case 'p':
        if (equalsIgnoringCase(in_szText, "put-in-service"))
            return PUT_IN_SERVICE_OP;
        if (equalsIgnoringCase(in_szText, "put-out-of-service"))
            return PUT_OUT_OF_SERVICE_OP;
        break;
    case 'q':
        if (equalsIgnoringCase(in_szText, "quiesce"))
            return QUIESCE_OP;
        break;
    }
    return {};
}

ObjectWithChannelOps::ChannelMatch::~ChannelMatch() = default;
