#pragma once
// A task's queue of method objects. Any thread may queue; the task's thread takes them off, and
// waits on it when there is nothing to run. It is unbounded, so that queueing never blocks: not
// even a task queueing onto its own queue. Queueing allocates nothing once the queue has been as
// deep before. A method object of a priority above 0 (a kill) goes ahead of all the others.

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <shared_mutex>

#include <boost/circular_buffer.hpp>

#include "host/thread/Wakeup.h"

class ACE_Method_Request;

class ActivationQueue
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
        // Waits for a queueing under way, which may still be waking the task's thread.
        void close();

      private:
        mutable std::shared_mutex m_mutex;
        ActivationQueue* m_pQueue;
    };

    ActivationQueue();
    // Destroys what is still queued, without running it.
    ~ActivationQueue();
    ActivationQueue(const ActivationQueue&) = delete;
    ActivationQueue& operator=(const ActivationQueue&) = delete;

    const std::shared_ptr<Lifeline>& getLifeline() const { return m_pLifeline; }

    // As Task::enqueue, on this queue.
    bool enqueueMO(ACE_Method_Request* in_pMO, const char* in_szDescription);
    // Any thread: how many wait now.
    std::size_t size() const;

    // Task thread: the next object, or null at once when there is none.
    ACE_Method_Request* dequeueNoWait();
    // Task thread: returns once something is queued or the deadline has passed.
    void waitUntil(std::chrono::steady_clock::time_point in_deadline);
    // Task thread, or any thread once the task's thread has ended: destroys every queued object
    // without running it, including those that the destructors queue; gives how many.
    std::size_t destroyQueued();
    // Task thread, as a run ends: the same, but the bookkeeping objects among them do their
    // bookkeeping first.
    std::size_t dropQueuedAtRunEnd();

  private:
    mutable std::mutex m_mutex;
    // Given only when the queue goes from empty to not empty; kept when the task's thread is not
    // waiting, so none is lost between its look at the queue and its wait.
    Wakeup m_wakeupNotEmpty;
    boost::circular_buffer<ACE_Method_Request*> m_queue;
    // How many at the front are of a priority above 0, in the order they came.
    std::size_t m_uiUrgent = 0;
    std::shared_ptr<Lifeline> m_pLifeline;
};
