#include "oam/soap/PeerAddress.h"

#include <sstream>

#include <stdsoap2.h>

std::string peerAddress(const struct soap* in_pSoap)
{
    // IPv4, most significant octet first.
    const unsigned int uiIp = in_pSoap->ip;
    std::ostringstream text;
    text << ((uiIp >> 24) & 0xFF) << '.' << ((uiIp >> 16) & 0xFF) << '.' << ((uiIp >> 8) & 0xFF) << '.' << (uiIp & 0xFF);
    return text.str();
}
