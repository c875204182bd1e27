#pragma once
// Lets a test wait for events on other threads without sleeping.

#include <chrono>
#include <condition_variable>
#include <mutex>

class CountDownLatch
{
  public:
    explicit CountDownLatch(unsigned in_uiCount) : m_uiCount(in_uiCount) {}

    void countDown()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_uiCount > 0 && --m_uiCount == 0)
            m_cond.notify_all();
    }
    // False only when the count is still above 0 after a minute: a hang turned into a failure.
    bool wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cond.wait_for(lock, std::chrono::minutes(1), [this] { return m_uiCount == 0; });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_cond;
    unsigned m_uiCount;
};
