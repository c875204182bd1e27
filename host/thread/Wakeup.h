#pragma once
// A wake-up that one thread gives and another waits for, up to a deadline on the steady clock.
// A POSIX semaphore: unlike a condition variable, the woken thread takes no mutex back, so a
// hand-over costs one futex call on each side, and none when the wake-up came before the wait.
// Wake-ups given while nobody waits are kept, so a wait may return at once: a waiter checks again
// what it waits for. Any thread.

#include <semaphore.h>

#include <chrono>

class Wakeup
{
  public:
    Wakeup();
    ~Wakeup();
    Wakeup(const Wakeup&) = delete;
    Wakeup& operator=(const Wakeup&) = delete;

    void give();
    // False when the deadline passed first; time_point::max() waits without limit.
    bool waitUntil(std::chrono::steady_clock::time_point in_deadline);

  private:
    sem_t m_semaphore;
};
