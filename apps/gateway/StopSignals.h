#pragma once
// Turns SIGINT and SIGTERM into a stop request. Built first in main, before any other thread: the
// two signals are blocked in every thread that follows, and one thread of its own waits for them,
// so that the gateway stops on the host thread in its own order rather than in a signal handler.

#include <csignal>
#include <thread>

#include "apps/gateway/StopRequest.h"

class StopSignals
{
  public:
    explicit StopSignals(StopRequest& io_request);
    // Wakes its thread, if no signal has, and waits for it.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
    sigset_t m_signals;
    std::thread m_waiter;
};
