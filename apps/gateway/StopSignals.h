#pragma once
// Turns SIGINT and SIGTERM into a stop request, so that the gateway stops on the host thread in
// its own order. The handler only writes the signal's number to a pipe, which is all a handler may
// safely do, and puts the signal's default action back, so that a second one ends a stop that
// hangs; a thread of its own reads the pipe and makes the request. (Blocking the signals would not
// do: the logging library starts threads of its own before main.)
//
// One per process, built and destroyed on the host thread.

#include <thread>

#include "apps/gateway/StopRequest.h"

class StopSignals
{
  public:
    explicit StopSignals(StopRequest& io_request);
    // Puts the default actions back and ends its thread.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    int m_aPipe[2];
    std::thread m_reader;
};
