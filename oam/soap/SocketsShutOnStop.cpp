#include "oam/soap/SocketsShutOnStop.h"

#include <sys/socket.h>

bool SocketsShutOnStop::add(int in_nSocket)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bStopped)
        return false;
    m_sockets.insert(in_nSocket);
    return true;
}

void SocketsShutOnStop::remove(int in_nSocket)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sockets.erase(in_nSocket);
}

void SocketsShutOnStop::stop()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bStopped = true;
    for (const int nSocket : m_sockets)
        ::shutdown(nSocket, SHUT_RDWR);
}
