#pragma once
// Why the gateway is to stop. Any thread may ask (the first reason is kept); the host thread waits.

#include <condition_variable>
#include <mutex>
#include <string>

class StopRequest
{
  public:
    void request(const std::string& in_strReason)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_strReason.empty())
            m_strReason = in_strReason;
        m_cond.notify_all();
    }

    std::string wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cond.wait(lock, [this] { return !m_strReason.empty(); });
        return m_strReason;
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_cond;
    std::string m_strReason;
};
