#include "apps/gateway/StopSignals.h"

#include <pthread.h>

StopSignals::StopSignals(StopRequest& io_request)
{
    sigemptyset(&m_signals);
    sigaddset(&m_signals, SIGINT);
    sigaddset(&m_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &m_signals, nullptr);
    m_waiter = std::thread([this, &io_request] {
        int nSignal = 0;
        sigwait(&m_signals, &nSignal);
        io_request.request(nSignal == SIGINT ? "SIGINT" : "SIGTERM");
    });
}

StopSignals::~StopSignals()
{
    // A signal sent to the thread itself: it has not had one if the gateway stopped for another reason.
    pthread_kill(m_waiter.native_handle(), SIGTERM);
    m_waiter.join();
}
