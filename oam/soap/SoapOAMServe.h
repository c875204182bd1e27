#pragma once
// Serves the one request of an accepted connection: reads it, dispatches it to its operation and
// writes the response or a fault. Called on the thread that serves the connection.

struct soap;
class RequestBounds;

// With bounds, a request whose announced length is over their limit is refused before its body is read.
int serveSoapOAMRequest(struct soap* io_pSoap, RequestBounds* io_pBounds = nullptr);
