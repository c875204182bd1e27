#include "apps/gateway/StopSignals.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {
// The handler's only state: set before the handlers are installed.
int g_nSignalPipe = -1;

void setAction(int in_nSignal, void (*in_pHandler)(int))
{
    struct sigaction action = {};
    action.sa_handler = in_pHandler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(in_nSignal, &action, nullptr);
}

void onStopSignal(int in_nSignal)
{
    const int nSavedErrno = errno;
    const unsigned char ucSignal = static_cast<unsigned char>(in_nSignal);
    (void)!write(g_nSignalPipe, &ucSignal, 1);
    setAction(in_nSignal, SIG_DFL);
    errno = nSavedErrno;
}
} // namespace

StopSignals::StopSignals(StopRequest& io_request)
{
    (void)!pipe(m_aPipe);
    g_nSignalPipe = m_aPipe[1];
    m_reader = std::thread([this, &io_request] {
        unsigned char ucSignal = 0;
        // A 0 byte, or the pipe's end, is the destructor's.
        while (read(m_aPipe[0], &ucSignal, 1) == 1 && ucSignal != 0)
            io_request.request(ucSignal == SIGINT ? "SIGINT" : "SIGTERM");
    });
    setAction(SIGINT, onStopSignal);
    setAction(SIGTERM, onStopSignal);
}

StopSignals::~StopSignals()
{
    setAction(SIGINT, SIG_DFL);
    setAction(SIGTERM, SIG_DFL);
    const unsigned char ucEnd = 0;
    (void)!write(m_aPipe[1], &ucEnd, 1);
    m_reader.join();
    close(m_aPipe[0]);
    close(m_aPipe[1]);
}
