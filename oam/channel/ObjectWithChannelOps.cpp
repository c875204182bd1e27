#include "oam/channel/ObjectWithChannelOps.h"

namespace {
char asciiLower(char in_c) { return in_c >= 'A' && in_c <= 'Z' ? static_cast<char>(in_c - 'A' + 'a') : in_c; }

// ASCII folding only, whatever locale the host process has set: the words are ASCII.
bool equalsIgnoringCase(const char* in_szText, const char* in_szWord)
{
    for (; *in_szText && *in_szWord; ++in_szText, ++in_szWord)
        if (asciiLower(*in_szText) != asciiLower(*in_szWord))
            return false;
    return *in_szText == *in_szWord;
}
} // namespace

using ChannelOpType = ObjectWithChannelOps::ChannelOpType;

const char* getChannelOpTypeString(ChannelOpType in_type)
{
    switch (in_type) {
    case ObjectWithChannelOps::QUIESCE_OP:
        return "quiesce";
    case ObjectWithChannelOps::PUT_OUT_OF_SERVICE_OP:
        return "put-out-of-service";
    case ObjectWithChannelOps::PUT_IN_SERVICE_OP:
        return "put-in-service";
    }
    return "ChannelOpType???";
}

Fallible<ChannelOpType> parseChannelOpTypeString(const char* in_szText)
{
    if (!in_szText || !*in_szText)
        return {};
    // The first letter picks the candidates as it stands, so "IS" or "Quiesce" name nothing.
    switch (in_szText[0]) {
    case 'i':
        if (equalsIgnoringCase(in_szText, "is") || equalsIgnoringCase(in_szText, "in-service"))
            return ObjectWithChannelOps::PUT_IN_SERVICE_OP;
        break;
    case 'o':
        if (equalsIgnoringCase(in_szText, "oos") || equalsIgnoringCase(in_szText, "out-of-service"))
            return ObjectWithChannelOps::PUT_OUT_OF_SERVICE_OP;
        break;
    case 'p':
        if (equalsIgnoringCase(in_szText, "put-in-service"))
            return ObjectWithChannelOps::PUT_IN_SERVICE_OP;
        if (equalsIgnoringCase(in_szText, "put-out-of-service"))
            return ObjectWithChannelOps::PUT_OUT_OF_SERVICE_OP;
        break;
    case 'q':
        if (equalsIgnoringCase(in_szText, "quiesce"))
            return ObjectWithChannelOps::QUIESCE_OP;
        break;
    }
    return {};
}

ObjectWithChannelOps::ChannelMatch::~ChannelMatch() = default;
