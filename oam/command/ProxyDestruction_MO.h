#pragma once
// Tells the owning task, on its thread, that an observer proxy of a fan-out is gone.

#include <cstdint>

#include <ace/Method_Request.h>

#include "host/core/MemAccounted.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"

class OAMCmdExecuterTaskImpl::ProxyDestruction_MO : public ACE_Method_Request, public MemAccounted<ProxyDestruction_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "ProxyDestruction_MO";

    ProxyDestruction_MO(OAMCmdExecuterTaskImpl& in_task, std::uint64_t in_ulProxyId)
        : m_task(in_task), m_ulProxyId(in_ulProxyId)
    {
    }

    int call() override { return m_task.proxyDestruction_i(m_ulProxyId); }

  private:
    OAMCmdExecuterTaskImpl& m_task;
    const std::uint64_t m_ulProxyId;
};
