#pragma once
// Bounds the exchange of one accepted connection: a deadline for reading the request and writing
// its answer, a limit on the bytes read, and an end as soon as the server is told to terminate.
// It wraps the runtime's receive and send for the life of one serve call, on the serving thread;
// a bound that is reached reads as the end of the connection.

#include <chrono>
#include <cstdint>
#include <functional>

struct soap;

class RequestBounds
{
  public:
    enum class Reached { NONE, TIME_OUT, SIZE_LIMIT, TERMINATION };

    struct Limits
    {
        std::chrono::milliseconds timeout{0}; // 0: no deadline
        std::uint64_t ullMaxBytes = 0;        // 0: the runtime's own limit
    };

    RequestBounds(struct soap* io_pSoap, const Limits& in_limits, std::function<bool()> in_isTerminating);
    ~RequestBounds();
    RequestBounds(const RequestBounds&) = delete;
    RequestBounds& operator=(const RequestBounds&) = delete;

    // The bound that ended the exchange, if one did.
    Reached reached() const { return m_reached; }
    std::uint64_t maxBytes() const { return m_limits.ullMaxBytes; }
    // Serving thread: false, noting which bound it was, once no more may be read: the deadline
    // passed, termination was asked, or the request is larger than the limit.
    bool mayGoOn(std::uint64_t in_ullBytesSoFar);
    // Serving thread: false when the bounds are reached before the client has sent a byte.
    bool waitForRequest();
    // The runtime's time-out for one receive or send (its units: seconds, or negative microseconds,
    // 0 none), shortened to what remains of the deadline.
    int soapTimeoutWithin(int in_nSoapTimeout) const;

  private:
    // False once the deadline has passed or termination was asked; an answer may still be
    // written to a request that is too large.
    bool inTime();
    // Waits until the socket is ready for in_sEvents, or gives false once out of time.
    bool waitFor(short in_sEvents);

    // Plain sockets are read and written here, without the runtime's own wait before each call;
    // TLS goes through the runtime's calls, bounded.
    static std::size_t boundedRecv(struct soap* io_pSoap, char* out_pBuffer, std::size_t in_uiSize);
    static int boundedSend(struct soap* io_pSoap, const char* in_pBuffer, std::size_t in_uiSize);
    std::size_t recvTls(char* out_pBuffer, std::size_t in_uiSize);
    int sendTls(const char* in_pBuffer, std::size_t in_uiSize);

    struct soap* const m_pSoap;
    const Limits m_limits;
    const std::function<bool()> m_isTerminating;
    const std::chrono::steady_clock::time_point m_deadline;
    Reached m_reached = Reached::NONE;
    std::size_t (*const m_pRecv)(struct soap*, char*, std::size_t);
    int (*const m_pSend)(struct soap*, const char*, std::size_t);
};
