#include "host/thread/ActivationQueue.h"

#include <limits>

#include <ace/Method_Request.h>

#include "host/thread/Task.h"

ActivationQueue::ActivationQueue() : ACE_Activation_Queue(nullptr, &m_blockCache, &m_blockCache)
{
    queue()->high_water_mark(std::numeric_limits<std::size_t>::max());
}

ActivationQueue::~ActivationQueue()
{
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
