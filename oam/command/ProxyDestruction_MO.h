#pragma once
// Tells the owning task, on its thread, that an observer proxy of one of its fan-outs is gone.
// Dropped as a run ends, it still clears the proxy's registration, so that the state machine and
// the identifier are free for the next run. The task makes it a friend: its proxyDestruction_i is
// for nobody else.

#include <cstdint>

#include "host/core/MemAccounted.h"
#include "host/thread/BookkeepingMethodRequest.h"

template <class TaskT>
class TaskProxyDestruction_MO : public BookkeepingMethodRequest, public MemAccounted<TaskProxyDestruction_MO<TaskT>>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "ProxyDestruction_MO";

    TaskProxyDestruction_MO(TaskT& in_task, std::uint64_t in_ulProxyId) : m_task(in_task), m_ulProxyId(in_ulProxyId) {}

    int call() override { return m_task.proxyDestruction_i(m_ulProxyId); }
    void runEnded_i() override { m_task.proxyDestruction_i(m_ulProxyId); }

  private:
    TaskT& m_task;
    const std::uint64_t m_ulProxyId;
};
