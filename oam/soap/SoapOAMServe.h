#pragma once
// Serves the one request of an accepted connection: reads it, dispatches it to its operation and
// writes the response or a fault. Called on the thread that serves the connection.

struct soap;
class RequestBounds;

// Decides from a request's headers whether it may be served.
class RequestGate
{
  public:
    virtual ~RequestGate() = default;
    // False to answer 401 with the realm that it sets in the context.
    virtual bool admits(struct soap* io_pSoap) = 0;
};

// With bounds, a request whose announced length is over their limit is refused before its body is
// read; with a gate, so is a request that the gate does not admit.
int serveSoapOAMRequest(struct soap* io_pSoap, RequestBounds* io_pBounds = nullptr, RequestGate* io_pGate = nullptr);
