#pragma once
// The address of the client of an accepted connection, as logs show it.

#include <string>

struct soap;

std::string peerAddress(const struct soap* in_pSoap);
