#pragma once
// A task manager that starts its tasks one after the other in the order they were added, each
// once the one before it runs, and stops them in the reverse order, each once the one after it
// has ended.

#include <cstddef>

#include "host/thread/UserDefHandlerTaskManager.h"

class UserDefHandlerOrderTaskManager : public UserDefHandlerTaskManager
{
  protected:
    void startTasks_i() override;
    void stopTasks_i() override;
    void advance_i() override;
    bool isStartedInThisRun_i(const ManageableTask& in_task) const override;

  private:
    // Tasks before this index have been started in this run: each is started once.
    std::size_t m_uiStarted = 0;
};
