#pragma once
// The answer to one synchronous call: set at most once, on the answering task's thread, and
// waited for up to a deadline on the caller's. Copies share the one answer and may be set by
// whoever holds them: the first value stays, later ones are dropped (a late reporter, a request
// destroyed unrun after it was answered). The value is read under the lock it was written under.
// Called on any thread.

#include <cerrno>
#include <memory>
#include <mutex>
#include <optional>

#include "host/thread/Deadline.h"
#include "host/thread/Wakeup.h"

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
        m_pShared->answered.give();
        return true;
    }

    // False, with errno ETIME as ACE_Future gives it, when the deadline passed first.
    bool get(T& out_value, const Deadline& in_deadline) const
    {
        const auto deadline = in_deadline.isLimited() ? in_deadline.get() : std::chrono::steady_clock::time_point::max();
        if (!m_pShared->answered.waitUntil(deadline)) {
            errno = ETIME;
            return false;
        }
        // Given back: the answer stays there for whoever else holds the future.
        m_pShared->answered.give();
        std::lock_guard<std::mutex> lock(m_pShared->mutex);
        out_value = *m_pShared->value;
        return true;
    }

  private:
    struct Shared
    {
        std::mutex mutex;
        std::optional<T> value;
        // Given once, when the value is set.
        Wakeup answered;
    };
    std::shared_ptr<Shared> m_pShared;
};
