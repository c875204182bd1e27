#pragma once
// The base of an observer proxy: what another thread needs to reach an object of the owning task
// again, the proxy identifier and that task's activation queue. Built on the owning task's thread
// (the generator is that task's); used and destroyed on any thread.

#include <cstdint>

class ACE_Activation_Queue;
class IDGenerator;

class TaskObjectProxyNoT
{
  public:
    // Draws one identifier from the generator.
    TaskObjectProxyNoT(IDGenerator& io_generator, ACE_Activation_Queue* in_pQueue);
    // Does not give the identifier back: the owning task does, once the registration under it is
    // cleared on its own thread, so that the identifier is never reused while an answer under it
    // may still be queued.
    virtual ~TaskObjectProxyNoT() = default;
    TaskObjectProxyNoT(const TaskObjectProxyNoT&) = delete;
    TaskObjectProxyNoT& operator=(const TaskObjectProxyNoT&) = delete;

    std::uint64_t getProxyID() const { return m_ulProxyId; }
    ACE_Activation_Queue* getActivationQueue() const { return m_pActivationQueue; }

  private:
    const std::uint64_t m_ulProxyId;
    ACE_Activation_Queue* const m_pActivationQueue;
};
