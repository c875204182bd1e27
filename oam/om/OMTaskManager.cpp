#include "oam/om/OMTaskManager.h"

#include "oam/om/GetOM_MO.h"

// Lives in its manager's own table, so a plain pointer back to it is enough.
class OMTaskManager::StateOMHandler : public OMReporterTaskImpl::OMHandler
{
  public:
    explicit StateOMHandler(const OMTaskManager* in_pManager) : m_pManager(in_pManager) {}

    bool getOMValue(const char*, ParameterValue& out_value) override
    {
        out_value = Task::getStateString(m_pManager->getState());
        return true;
    }

  private:
    const OMTaskManager* const m_pManager;
};

OMTaskManager::OMTaskManager(const char* in_szTaskName)
{
    setTaskName(in_szTaskName);
    populateOMHash();
}

OMTaskManager::~OMTaskManager()
{
    endThreadForDestruction();
    // Tasks still winding down from a kill stop telling this manager before any of its parts goes.
    clearTasks();
}

bool OMTaskManager::getOM(const char* in_szOMName, OMObserver* in_pObserver)
{
    return enqueue(new GetOM_MO(*this, in_szOMName, in_pObserver), "OMTaskManager::getOM");
}

void OMTaskManager::populateOMHash()
{
    m_OMHash.clear();
    m_OMHash[STATE_OM_NAME] = OMHandlerPtr(new StateOMHandler(this));
}
