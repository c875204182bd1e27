#include "host/thread/ActivationQueue.h"

#include <new>

#include <ace/Method_Request.h>

#include "host/core/AceCleanupLogger.h"
#include "host/thread/BookkeepingMethodRequest.h"

namespace {
const Logger& queueLogger()
{
    static const Logger& logger = AceCleanupLogger::get("linkhaven.thread.Task");
    return logger;
}

constexpr std::size_t INITIAL_CAPACITY = 64;
} // namespace

bool ActivationQueue::Lifeline::enqueueMO(ACE_Method_Request* in_pMO, const char* in_szDescription) const
{
    {
        std::shared_lock<std::shared_mutex> lock(m_mutex);
        if (m_pQueue)
            return m_pQueue->enqueueMO(in_pMO, in_szDescription);
    }
    // Outside the lock: a destructor may itself queue through a lifeline.
    LH_DEBUG(queueLogger(), in_szDescription << " : the task is gone; method object dropped");
    delete in_pMO;
    return false;
}

void ActivationQueue::Lifeline::close()
{
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    m_pQueue = nullptr;
}

ActivationQueue::ActivationQueue() : m_queue(INITIAL_CAPACITY), m_pLifeline(std::make_shared<Lifeline>(*this)) {}

ActivationQueue::~ActivationQueue()
{
    m_pLifeline->close();
    destroyQueued();
}

bool ActivationQueue::enqueueMO(ACE_Method_Request* in_pMO, const char* in_szDescription)
{
    if (in_pMO == nullptr) {
        LH_ERROR(queueLogger(), in_szDescription << " : no method object to queue");
        return false;
    }
    bool bWasEmpty;
    try {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_queue.full())
            m_queue.set_capacity(2 * m_queue.capacity());
        bWasEmpty = m_queue.empty();
        if (in_pMO->priority() > 0)
            m_queue.insert(m_queue.begin() + m_uiUrgent++, in_pMO);
        else
            m_queue.push_back(in_pMO);
    } catch (const std::bad_alloc&) {
        LH_ERROR(queueLogger(), in_szDescription << " : method object refused by the activation queue");
        delete in_pMO;
        return false;
    }
    // After unlocking, so that the woken thread does not block on the lock at once.
    if (bWasEmpty)
        m_wakeupNotEmpty.give();
    LH_TRACE(queueLogger(), in_szDescription << " : method object queued");
    return true;
}

std::size_t ActivationQueue::size() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_queue.size();
}

ACE_Method_Request* ActivationQueue::dequeueNoWait()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_queue.empty())
        return nullptr;
    ACE_Method_Request* const pMO = m_queue.front();
    m_queue.pop_front();
    if (m_uiUrgent > 0)
        --m_uiUrgent;
    return pMO;
}

void ActivationQueue::waitUntil(std::chrono::steady_clock::time_point in_deadline)
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_queue.empty())
                return;
        }
        if (!m_wakeupNotEmpty.waitUntil(in_deadline))
            return;
    }
}

std::size_t ActivationQueue::destroyQueued()
{
    std::size_t uiDestroyed = 0;
    while (ACE_Method_Request* pMO = dequeueNoWait()) {
        delete pMO;
        ++uiDestroyed;
    }
    return uiDestroyed;
}

std::size_t ActivationQueue::dropQueuedAtRunEnd()
{
    std::size_t uiDropped = 0;
    while (ACE_Method_Request* pMO = dequeueNoWait()) {
        if (auto* pBookkeeping = dynamic_cast<BookkeepingMethodRequest*>(pMO))
            pBookkeeping->runEnded_i();
        delete pMO;
        ++uiDropped;
    }
    return uiDropped;
}
