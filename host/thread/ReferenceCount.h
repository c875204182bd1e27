#pragma once
// The counts behind CountedObjPtr, each allocated apart from the object it counts. A new count
// stands for the one handle that made it.

#include <atomic>

#include "host/core/MemAccounted.h"

// For handles that stay on one thread (the objects of one task).
class ReferenceCount : public MemAccounted<ReferenceCount>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "ReferenceCount";

    void increment() { ++m_ulCount; }
    // Gives the count that is left.
    unsigned long decrement() { return --m_ulCount; }
    unsigned long get() const { return m_ulCount; }

  private:
    unsigned long m_ulCount = 1;
};

// For handles held by several threads (objects shared between tasks).
class TSReferenceCount : public MemAccounted<TSReferenceCount>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "TSReferenceCount";

    // A new handle is copied from a live one, so the increment needs no ordering.
    void increment() { m_ulCount.fetch_add(1, std::memory_order_relaxed); }
    // acq_rel: the thread that sees 0 sees every write that other holders made before letting go.
    unsigned long decrement() { return m_ulCount.fetch_sub(1, std::memory_order_acq_rel) - 1; }
    unsigned long get() const { return m_ulCount.load(std::memory_order_acquire); }

  private:
    std::atomic<unsigned long> m_ulCount{1};
};
