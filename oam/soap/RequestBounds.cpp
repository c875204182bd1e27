#include "oam/soap/RequestBounds.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include <stdsoap2.h>

namespace {
// How often a wait looks at the termination flag: a stop never waits longer for a connection.
constexpr std::chrono::milliseconds TERMINATION_CHECK_PERIOD(100);
constexpr std::size_t SEND_PIECE = 4096;

// The serving thread's bounds; one serve call at a time runs on a thread.
thread_local RequestBounds* t_pBounds = nullptr;

long long soapTimeoutInUs(int in_nSoapTimeout)
{
    return in_nSoapTimeout < 0 ? -static_cast<long long>(in_nSoapTimeout) : 1000000LL * in_nSoapTimeout;
}
} // namespace

RequestBounds::RequestBounds(struct soap* io_pSoap, const Limits& in_limits, std::function<bool()> in_isTerminating)
    : m_pSoap(io_pSoap), m_limits(in_limits), m_isTerminating(std::move(in_isTerminating)),
      m_deadline(std::chrono::steady_clock::now() + in_limits.timeout), m_pRecv(io_pSoap->frecv),
      m_pSend(io_pSoap->fsend)
{
    t_pBounds = this;
    io_pSoap->frecv = boundedRecv;
    io_pSoap->fsend = boundedSend;
}

RequestBounds::~RequestBounds()
{
    m_pSoap->frecv = m_pRecv;
    m_pSoap->fsend = m_pSend;
    t_pBounds = nullptr;
}

bool RequestBounds::mayGoOn(std::uint64_t in_ullBytesSoFar)
{
    if (m_limits.ullMaxBytes > 0 && in_ullBytesSoFar > m_limits.ullMaxBytes && m_reached == Reached::NONE)
        m_reached = Reached::SIZE_LIMIT;
    return inTime() && m_reached == Reached::NONE;
}

bool RequestBounds::waitForRequest() { return mayGoOn(0) && waitFor(POLLIN); }

bool RequestBounds::inTime()
{
    if (m_reached == Reached::TIME_OUT || m_reached == Reached::TERMINATION)
        return false;
    if (m_isTerminating())
        m_reached = Reached::TERMINATION;
    else if (m_limits.timeout.count() > 0 && std::chrono::steady_clock::now() >= m_deadline)
        m_reached = Reached::TIME_OUT;
    return m_reached != Reached::TIME_OUT && m_reached != Reached::TERMINATION;
}

bool RequestBounds::waitFor(short in_sEvents)
{
    // The runtime's own time-out for one receive or send (negative: microseconds) still holds.
    const int nIoTimeout = in_sEvents == POLLIN ? m_pSoap->recv_timeout : m_pSoap->send_timeout;
    const auto ioDeadline = std::chrono::steady_clock::now() + std::chrono::microseconds(soapTimeoutInUs(nIoTimeout));
    for (;;) {
        const bool bInTime = inTime();
        // Once terminating, the answer still goes out as far as the socket takes it at once.
        if (!bInTime && !(in_sEvents == POLLOUT && m_reached == Reached::TERMINATION))
            return false;
        const auto now = std::chrono::steady_clock::now();
        auto wait = bInTime ? TERMINATION_CHECK_PERIOD : std::chrono::milliseconds(0);
        if (bInTime && m_limits.timeout.count() > 0)
            wait = std::min(wait, std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - now) + std::chrono::milliseconds(1));
        if (bInTime && nIoTimeout != 0)
            wait = std::min(wait, std::chrono::duration_cast<std::chrono::milliseconds>(ioDeadline - now) + std::chrono::milliseconds(1));
        struct pollfd ready = {m_pSoap->socket, in_sEvents, 0};
        const int nReady = ::poll(&ready, 1, static_cast<int>(std::max(wait, std::chrono::milliseconds(0)).count()));
        if (nReady > 0)
            return true;
        if (!bInTime || (nReady < 0 && errno != EINTR) || (nIoTimeout != 0 && std::chrono::steady_clock::now() >= ioDeadline))
            return false;
    }
}

int RequestBounds::soapTimeoutWithin(int in_nSoapTimeout) const
{
    if (m_limits.timeout.count() <= 0)
        return in_nSoapTimeout;
    const auto remaining =
        std::chrono::duration_cast<std::chrono::microseconds>(m_deadline - std::chrono::steady_clock::now()).count();
    long long llUs = std::max<long long>(remaining, 1000);
    if (in_nSoapTimeout != 0)
        llUs = std::min(llUs, soapTimeoutInUs(in_nSoapTimeout));
    return static_cast<int>(-std::min(llUs, static_cast<long long>(INT_MAX)));
}

std::size_t RequestBounds::boundedRecv(struct soap* io_pSoap, char* out_pBuffer, std::size_t in_uiSize)
{
    RequestBounds& bounds = *t_pBounds;
    const std::uint64_t ullMax = bounds.m_limits.ullMaxBytes;
    if (!bounds.mayGoOn(io_pSoap->count))
        return 0;
    // One byte past the limit is enough to tell that the request is too large.
    if (ullMax > 0)
        in_uiSize = static_cast<std::size_t>(std::min<std::uint64_t>(in_uiSize, ullMax + 1 - std::min(ullMax, io_pSoap->count)));
    if (io_pSoap->ssl)
        return bounds.recvTls(out_pBuffer, in_uiSize);
    // What has arrived is read at once; the wait is only for a socket that has nothing yet.
    for (;;) {
        const ssize_t nRead = ::recv(io_pSoap->socket, out_pBuffer, in_uiSize, MSG_DONTWAIT);
        if (nRead >= 0)
            return static_cast<std::size_t>(nRead);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            io_pSoap->errnum = errno;
            return 0;
        }
        if (!bounds.waitFor(POLLIN))
            return 0;
    }
}

std::size_t RequestBounds::recvTls(char* out_pBuffer, std::size_t in_uiSize)
{
    // Bytes that TLS has already read from the socket are not seen by a wait on it.
    if (SSL_pending(m_pSoap->ssl) <= 0 && !waitFor(POLLIN))
        return 0;
    // A TLS record may arrive in parts: the read that waits for its end stays within the deadline.
    const int nRecvTimeout = m_pSoap->recv_timeout;
    m_pSoap->recv_timeout = soapTimeoutWithin(nRecvTimeout);
    const std::size_t uiRead = m_pRecv(m_pSoap, out_pBuffer, in_uiSize);
    m_pSoap->recv_timeout = nRecvTimeout;
    return uiRead;
}

int RequestBounds::boundedSend(struct soap* io_pSoap, const char* in_pBuffer, std::size_t in_uiSize)
{
    RequestBounds& bounds = *t_pBounds;
    // Out of time, the answer is not sent; terminating, it goes out as far as the socket takes it.
    if (!bounds.inTime() && bounds.m_reached != Reached::TERMINATION)
        return io_pSoap->error = SOAP_EOF;
    if (io_pSoap->ssl)
        return bounds.sendTls(in_pBuffer, in_uiSize);
    while (in_uiSize > 0) {
        const ssize_t nSent = ::send(io_pSoap->socket, in_pBuffer, in_uiSize, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (nSent > 0) {
            in_pBuffer += nSent;
            in_uiSize -= static_cast<std::size_t>(nSent);
        } else if (nSent < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            io_pSoap->errnum = errno;
            return io_pSoap->error = SOAP_EOF;
        } else if (nSent < 0 && errno != EINTR && !bounds.waitFor(POLLOUT)) {
            return io_pSoap->error = SOAP_EOF;
        }
    }
    return SOAP_OK;
}

int RequestBounds::sendTls(const char* in_pBuffer, std::size_t in_uiSize)
{
    // In pieces no larger than what a writable socket takes at once, so that a write never blocks.
    while (in_uiSize > 0) {
        if (!waitFor(POLLOUT))
            return m_pSoap->error = SOAP_EOF;
        const std::size_t uiPiece = std::min(in_uiSize, SEND_PIECE);
        if (const int nError = m_pSend(m_pSoap, in_pBuffer, uiPiece))
            return nError;
        in_pBuffer += uiPiece;
        in_uiSize -= uiPiece;
    }
    return SOAP_OK;
}
