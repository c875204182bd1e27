#pragma once
// The base of an observer proxy: what another thread needs to reach an object of the owning task
// again, the proxy identifier and that task's activation queue. Built on the owning task's thread
// (the generator is that task's); used and destroyed on any thread, also after the owning task is
// gone, when what it queues is dropped.

#include <cstdint>
#include <memory>

#include "host/thread/ActivationQueue.h"

class IDGenerator;

class TaskObjectProxyNoT
{
  public:
    // Draws one identifier from the generator.
    TaskObjectProxyNoT(IDGenerator& io_generator, const ActivationQueue& in_queue);
    // Does not give the identifier back: the owning task does, once the registration under it is
    // cleared on its own thread, so that the identifier is never reused while an answer under it
    // may still be queued.
    virtual ~TaskObjectProxyNoT() = default;
    TaskObjectProxyNoT(const TaskObjectProxyNoT&) = delete;
    TaskObjectProxyNoT& operator=(const TaskObjectProxyNoT&) = delete;

    std::uint64_t getProxyID() const { return m_ulProxyId; }
    // Queues onto the owning task, as Task::enqueue does.
    bool enqueueToOwner(ACE_Method_Request* in_pMO, const char* in_szDescription) const
    {
        return m_pQueueLifeline->enqueueMO(in_pMO, in_szDescription);
    }

  private:
    const std::uint64_t m_ulProxyId;
    const std::shared_ptr<ActivationQueue::Lifeline> m_pQueueLifeline;
};
