#pragma once
// The answer to one synchronous call: set at most once, on the answering task's thread, and
// waited for up to a deadline on the caller's. Copies share the one answer and may be set by
// whoever holds them: the first value stays, later ones are dropped (a late reporter, a request
// destroyed unrun after it was answered). The value is read under the lock it was written under.
// Called on any thread.

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "host/thread/Deadline.h"

template <class T>
class OneShotFuture
{
  public:
    OneShotFuture() : m_pShared(std::make_shared<Shared>()) {}

    // False, and the value dropped, when an answer was set already.
    bool set(const T& in_value) const
    {
        {
            std::lock_guard<std::mutex> lock(m_pShared->mutex);
            if (m_pShared->value)
                return false;
            m_pShared->value.emplace(in_value);
        }
        // After unlocking: the waiter wakes to a free lock.
        m_pShared->cond.notify_one();
        return true;
    }

    // False, with errno ETIME as ACE_Future gives it, when the deadline passed first.
    bool get(T& out_value, const Deadline& in_deadline) const
    {
        std::unique_lock<std::mutex> lock(m_pShared->mutex);
        const auto answered = [this] { return m_pShared->value.has_value(); };
        if (!in_deadline.isLimited())
            m_pShared->cond.wait(lock, answered);
        else if (!m_pShared->cond.wait_until(lock, in_deadline.get(), answered)) {
            errno = ETIME;
            return false;
        }
        out_value = *m_pShared->value;
        return true;
    }

  private:
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable cond;
        std::optional<T> value;
    };
    std::shared_ptr<Shared> m_pShared;
};
