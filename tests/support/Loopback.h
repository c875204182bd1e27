#pragma once
// A loopback port that nothing listens on right now, so that the tests stay off the 18081 of a
// gateway a person runs, and off each other.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

inline int freePort()
{
    const int nSocket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(nSocket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(nSocket, reinterpret_cast<sockaddr*>(&address), &length);
    close(nSocket);
    return ntohs(address.sin_port);
}
