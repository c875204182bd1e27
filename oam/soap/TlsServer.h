#pragma once
// The admin port over TLS, through the runtime's OpenSSL support: the listening context's
// certificate and key, and optionally the CA that every client certificate must be signed by;
// then the handshake of each accepted connection, within the bounds of its request. The runtime's
// handshake loop does not look at termination: a stop cuts the handshakes in progress short.
//
// Running thread, before the context is copied: setUp. Serving threads: accept. Any thread:
// cutHandshakes.

#include <signal.h>

#include <string>

#include "oam/soap/SocketsShutOnStop.h"

struct soap;
class RequestBounds;

struct TlsServerFiles
{
    std::string strCertificateFile;
    std::string strKeyFile;
    std::string strClientCaFile; // empty: no client certificate is asked for

    bool enabled() const { return !strCertificateFile.empty(); }
};

class TlsServer
{
  public:
    // OpenSSL writes to its sockets without MSG_NOSIGNAL, and a client that has gone would end
    // the process with SIGPIPE. For its life, SIGPIPE is blocked on the thread that makes it (and
    // the threads that this one starts); one raised meanwhile is taken before the mask is restored.
    class SigpipeBlocked
    {
      public:
        SigpipeBlocked();
        ~SigpipeBlocked();
        SigpipeBlocked(const SigpipeBlocked&) = delete;
        SigpipeBlocked& operator=(const SigpipeBlocked&) = delete;

      private:
        sigset_t m_previousMask;
    };

    // TLS 1.2 and 1.3 only, with the library's default ciphers. False with a one-line reason.
    static bool setUp(struct soap* io_pSoap, const TlsServerFiles& in_files, std::string& out_strError);

    // After the accept: false when the handshake failed, did not end within the bounds or was cut
    // short, with the reason.
    bool accept(struct soap* io_pSoap, RequestBounds& io_bounds, std::string& out_strReason);
    // Every handshake in progress fails at once, and none starts any more.
    void cutHandshakes() { m_handshakes.stop(); }

  private:
    SocketsShutOnStop m_handshakes;
};
