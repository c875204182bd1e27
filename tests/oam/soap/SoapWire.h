#pragma once
// Drives the generated service code from memory: no network, no server thread.

#include <functional>
#include <string>

#include "oam/soap/SoapOAMOperations.h"

// The parts of an HTTP message the tests look at.
struct HttpMessage
{
    std::string strStatusLine;
    std::string strEnvelope; // everything after the headers
};

HttpMessage splitHttp(const std::string& in_strRaw);

// Serves one request, given as an envelope, with the given operations; gives the raw answer.
// Null operations serve the request as a context without a server would.
std::string serveEnvelope(const std::string& in_strEnvelope, SoapOAMOperations* in_pOperations);

// Serves one raw HTTP request arriving on a socket; gives all that came back until the server
// closed the connection, or, should it not close it, what came within a few seconds followed by
// "[connection left open]".
std::string serveOverSocket(const std::string& in_strRawRequest, SoapOAMOperations* in_pOperations);

// What a client stub sends: the call runs against one end of a socket pair, and the other end
// collects the request. The call itself fails once its request is sent, as nothing answers.
std::string captureRequest(const std::function<void(struct soap*)>& in_call);

// Runs a receiving stub against a canned raw HTTP answer; gives its status.
int receiveAnswer(const std::string& in_strRawAnswer, const std::function<int(struct soap*)>& in_receive);

// The envelope of a request from a peer, around the given body content.
std::string envelopeAround(const std::string& in_strBody, const std::string& in_strHeader = "");
