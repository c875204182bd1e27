#pragma once
// Sockets that a stop shuts down at once, so that a thread blocked on one of them returns: the
// listening socket that several serving threads wait on, the connections in a TLS handshake. A
// socket is closed only after it has left the set, so a stop never shuts down another one that has
// taken its number. Any thread.

#include <mutex>
#include <set>

class SocketsShutOnStop
{
  public:
    // False, adding nothing, once the stop has come.
    bool add(int in_nSocket);
    void remove(int in_nSocket);
    // Shuts down every socket in the set, and refuses any added later.
    void stop();

  private:
    std::mutex m_mutex;
    std::set<int> m_sockets;
    bool m_bStopped = false;
};
