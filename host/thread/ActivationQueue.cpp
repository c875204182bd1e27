#include "host/thread/ActivationQueue.h"

#include <limits>

#include <ace/Method_Request.h>

#include "host/core/AceCleanupLogger.h"
#include "host/thread/BookkeepingMethodRequest.h"
#include "host/thread/Task.h"

bool ActivationQueue::Lifeline::enqueueMO(ACE_Method_Request* in_pMO, const char* in_szDescription) const
{
    {
        std::shared_lock<std::shared_mutex> lock(m_mutex);
        if (m_pQueue)
            return m_pQueue->enqueueMO(in_pMO, in_szDescription);
    }
    // Outside the lock: a destructor may itself queue through a lifeline.
    LH_DEBUG(AceCleanupLogger::get("linkhaven.thread.Task"), in_szDescription << " : the task is gone; method object dropped");
    delete in_pMO;
    return false;
}

void ActivationQueue::Lifeline::close()
{
    std::unique_lock<std::shared_mutex> lock(m_mutex);
    m_pQueue = nullptr;
}

ActivationQueue::ActivationQueue()
    : ACE_Activation_Queue(nullptr, &m_blockCache, &m_blockCache), m_pLifeline(std::make_shared<Lifeline>(*this))
{
    queue()->high_water_mark(std::numeric_limits<std::size_t>::max());
}

ActivationQueue::~ActivationQueue()
{
    m_pLifeline->close();
    destroyQueued();
}

bool ActivationQueue::enqueueMO(ACE_Method_Request* in_pMO, const char* in_szDescription)
{
    return Task::enqueue(this, in_pMO, in_szDescription);
}

ACE_Method_Request* ActivationQueue::dequeueNoWait()
{
    if (is_empty())
        return nullptr;
    // An absolute deadline in the past: take what is there, never wait.
    ACE_Time_Value past(ACE_Time_Value::zero);
    return dequeue(&past);
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
