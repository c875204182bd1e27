#pragma once
// Loopback ports and connections for the tests of what serves on a socket. The ports are chosen free,
// so that the tests stay off the 18081 of a gateway a person runs, and off each other.

#include <sys/socket.h>

#include <string>

#include <ace/INET_Addr.h>
#include <ace/SOCK_Acceptor.h>
#include <ace/SOCK_Connector.h>

// Listens on a loopback port that was free, and gives it.
inline int listenOnFreePort(ACE_SOCK_Acceptor& io_acceptor)
{
    ACE_INET_Addr address(static_cast<u_short>(0), "127.0.0.1");
    io_acceptor.open(address);
    io_acceptor.get_local_addr(address);
    return address.get_port_number();
}

// A loopback port that nothing listens on right now.
inline int freePort()
{
    ACE_SOCK_Acceptor acceptor;
    const int nPort = listenOnFreePort(acceptor);
    acceptor.close();
    return nPort;
}

// A new connection to the loopback port, on which the text has been sent.
inline ACE_SOCK_Stream connectTo(int in_nPort, const std::string& in_strSent = "")
{
    ACE_SOCK_Stream stream;
    ACE_SOCK_Connector().connect(stream, ACE_INET_Addr(static_cast<u_short>(in_nPort), "127.0.0.1"));
    stream.send_n(in_strSent.data(), in_strSent.size(), MSG_NOSIGNAL);
    return stream;
}

// What came back on the stream until the peer closed it; its sending side closed first when asked.
inline std::string drain(ACE_SOCK_Stream stream, bool in_bHalfClose = false)
{
    if (in_bHalfClose)
        stream.close_writer();
    std::string strAnswer(1 << 16, '\0');
    size_t uiSize = 0;
    for (ssize_t n; (n = stream.recv(&strAnswer[uiSize], strAnswer.size() - uiSize)) > 0; strAnswer.resize(2 * strAnswer.size()))
        uiSize += static_cast<size_t>(n);
    stream.close();
    return strAnswer.substr(0, uiSize);
}

inline std::string roundTrip(int in_nPort, const std::string& in_strRequest, bool in_bHalfClose = false)
{
    return drain(connectTo(in_nPort, in_strRequest), in_bHalfClose);
}
