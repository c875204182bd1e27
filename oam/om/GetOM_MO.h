#pragma once
// Carries one OM request, and the observer of its answer, to the reporter's thread.

#include <memory>
#include <string>

#include <ace/Method_Request.h>

#include "host/core/MemAccounted.h"
#include "oam/om/OMReporterTaskImpl.h"

class OMReporterTaskImpl::GetOM_MO : public ACE_Method_Request, public MemAccounted<GetOM_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "OMReporterTaskImpl::GetOM_MO";

    // Built on the caller's thread: copies the name (null reads as the empty name, which no table
    // holds) and takes the observer.
    GetOM_MO(OMReporterTaskImpl& in_reporter, const char* in_szOMName, OMObserver* in_pObserver);
    // A method object that never ran deletes its observer without telling it; it does not touch
    // the reporter, which may be going away.
    ~GetOM_MO() override;

    int call() override;

  private:
    OMReporterTaskImpl& m_reporter;
    const std::string m_strOMName;
    std::unique_ptr<OMObserver> m_pObserver;
};
