#pragma once
// A task's queue of method objects. Any thread may queue; the task's thread takes them off.
// It is unbounded, so that queueing never blocks: not even a task queueing onto its own queue.
// Queueing allocates nothing once the queue has been as deep before.

#include <cstddef>

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
    ActivationQueue();
    // Destroys what is still queued, without running it.
    ~ActivationQueue() override;

    // As Task::enqueue, on this queue.
    bool enqueueMO(ACE_Method_Request* in_pMO, const char* in_szDescription);

    // Task thread: the next object, or null at once when there is none.
    ACE_Method_Request* dequeueNoWait();
    // Task thread, or any thread once the task's thread has ended: destroys every queued object
    // without running it, including those that the destructors queue; gives how many.
    std::size_t destroyQueued();
};
