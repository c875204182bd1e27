#include "host/thread/Wakeup.h"

#include <cerrno>
#include <ctime>

Wakeup::Wakeup() { ::sem_init(&m_semaphore, 0, 0); }

Wakeup::~Wakeup() { ::sem_destroy(&m_semaphore); }

void Wakeup::give() { ::sem_post(&m_semaphore); }

bool Wakeup::waitUntil(std::chrono::steady_clock::time_point in_deadline)
{
    const bool bLimited = in_deadline != std::chrono::steady_clock::time_point::max();
    // The steady clock is CLOCK_MONOTONIC.
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(in_deadline.time_since_epoch()).count();
    const struct timespec deadline = {static_cast<std::time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    for (;;) {
        if ((bLimited ? ::sem_clockwait(&m_semaphore, CLOCK_MONOTONIC, &deadline) : ::sem_wait(&m_semaphore)) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}
