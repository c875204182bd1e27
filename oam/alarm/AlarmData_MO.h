#pragma once
// Carries one change of an alarm's state from the registry's caller to the manager's thread.

#include <string>

#include <ace/Method_Request.h>

#include "host/core/MemAccounted.h"
#include "oam/manager/OAMManager.h"

class OAMManager::AlarmData_MO : public ACE_Method_Request, public MemAccounted<AlarmData_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "OAMManager::AlarmData_MO";

    AlarmData_MO(OAMManager* in_pManager, std::string in_strAlarm, Alarm::State in_state);

    int call() override;

  private:
    OAMManager* const m_pManager;
    const std::string m_strAlarm;
    const Alarm::State m_state;
};
