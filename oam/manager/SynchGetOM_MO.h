#pragma once
// Carries one blocking OM read to the manager's thread, with the future its caller waits on.

#include <string>

#include <ace/Method_Request.h>

#include "host/core/MemAccounted.h"
#include "oam/manager/OAMManager.h"

class OAMManager::SynchGetOM_MO : public ACE_Method_Request, public MemAccounted<SynchGetOM_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "OAMManager::SynchGetOM_MO";

    // Built on the caller's thread: copies the name and shares the future.
    SynchGetOM_MO(OAMManager& in_manager, const char* in_szOMName, const OMFuture& in_future, const Deadline& in_deadline)
        : m_manager(in_manager), m_strOMName(in_szOMName), m_future(in_future), m_deadline(in_deadline)
    {
    }
    // Dropped unrun (the manager's run ended first), it sets the invalid result: a caller who waits
    // without limit learns at once that no value will come. It does not touch the manager.
    ~SynchGetOM_MO() override
    {
        if (!m_bCalled)
            m_future.set(Fallible<ParameterValue>());
    }

    int call() override
    {
        m_bCalled = true;
        return m_manager.getOM_i(m_strOMName.c_str(), m_future, m_deadline);
    }

  private:
    OAMManager& m_manager;
    const std::string m_strOMName;
    OMFuture m_future;
    const Deadline m_deadline;
    bool m_bCalled = false;
};
