#pragma once
// A task's queue of method objects. Any thread may queue; the task's thread takes them off.
// It is unbounded, so that queueing never blocks: not even a task queueing onto its own queue.
// Queueing allocates nothing once the queue has been as deep before.

#include <cstddef>
#include <memory>
#include <shared_mutex>

#include <ace/Activation_Queue.h>

#include "host/thread/MessageBlockCache.h"

// Built before the queue that allocates from it, and destroyed after.
struct ActivationQueueBlocks
{
    MessageBlockCache m_blockCache;
};

class ActivationQueue : private ActivationQueueBlocks, public ACE_Activation_Queue
{
  public:
    // How observer proxies held by other tasks reach this queue: they may outlive it, and once the
    // queue's task is being destroyed what they queue is destroyed at once instead. Any thread.
    class Lifeline
    {
      public:
        explicit Lifeline(ActivationQueue& io_queue) : m_pQueue(&io_queue) {}
        // As Task::enqueue while the queue stands; afterwards the method object is destroyed unrun.
        bool enqueueMO(ACE_Method_Request* in_pMO, const char* in_szDescription) const;
        // Waits for a queueing under way, which may still be waking the task's reactor.
        void close();

      private:
        mutable std::shared_mutex m_mutex;
        ActivationQueue* m_pQueue;
    };

    ActivationQueue();
    // Destroys what is still queued, without running it.
    ~ActivationQueue() override;

    const std::shared_ptr<Lifeline>& getLifeline() const { return m_pLifeline; }

    // As Task::enqueue, on this queue.
    bool enqueueMO(ACE_Method_Request* in_pMO, const char* in_szDescription);

    // Task thread: the next object, or null at once when there is none.
    ACE_Method_Request* dequeueNoWait();
    // Task thread, or any thread once the task's thread has ended: destroys every queued object
    // without running it, including those that the destructors queue; gives how many.
    std::size_t destroyQueued();
    // Task thread, as a run ends: the same, but the bookkeeping objects among them do their
    // bookkeeping first.
    std::size_t dropQueuedAtRunEnd();

  private:
    std::shared_ptr<Lifeline> m_pLifeline;
};
