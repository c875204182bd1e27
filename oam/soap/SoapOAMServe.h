#pragma once
// Serves the one request of an accepted connection: reads it, dispatches it to its operation and
// writes the response or a fault. Called on the thread that serves the connection.

struct soap;

int serveSoapOAMRequest(struct soap* io_pSoap);
