#pragma once
// A task manager that reports the state of its group as an OM. The host builds it with a name,
// adds the tasks, may register it with the OAM manager as an OM reporter, and starts it; requests
// are answered on the manager's own thread while it runs (queued before start, they wait for it).
//
// Host thread before start: the constructor, addTask, clearTasks. Any thread: getOM and the
// task operations.

#include "host/thread/UserDefHandlerOrderTaskManager.h"
#include "oam/om/OMReporterTaskImpl.h"

class OMTaskManager : public virtual StopKillExitTaskManager,
                      public virtual ManageableTask,
                      public virtual OMReporter,
                      UserDefHandlerOrderTaskManager,
                      OMReporterTaskImpl
{
  public:
    // Its value is Task::getStateString of the group's state.
    static constexpr const char* STATE_OM_NAME = "linkhaven.om.taskManager.state";

    explicit OMTaskManager(const char* in_szTaskName);
    // Ends a thread that the host left running before the OM table goes, and stops listening to
    // the tasks.
    ~OMTaskManager() override;

    // Any thread: queues the request with the tag "OMTaskManager::getOM".
    bool getOM(const char* in_szOMName, OMObserver* in_pObserver) override;

    using UserDefHandlerOrderTaskManager::addTask;
    using UserDefHandlerOrderTaskManager::clearTasks;
    using UserDefHandlerOrderTaskManager::getState;
    using UserDefHandlerOrderTaskManager::stopKillExit;

    using UserDefHandlerOrderTaskManager::addTaskObserver;
    using UserDefHandlerOrderTaskManager::getActivationQueue;
    using UserDefHandlerOrderTaskManager::getTaskName;
    using UserDefHandlerOrderTaskManager::getTaskState;
    using UserDefHandlerOrderTaskManager::getThreadChecker;
    using UserDefHandlerOrderTaskManager::kill;
    using UserDefHandlerOrderTaskManager::removeTaskObserver;
    using UserDefHandlerOrderTaskManager::setTaskName;
    using UserDefHandlerOrderTaskManager::start;
    using UserDefHandlerOrderTaskManager::stop;
    using UserDefHandlerOrderTaskManager::waitForStart;
    using UserDefHandlerOrderTaskManager::waitUntilDone;

  private:
    class StateOMHandler;

    // Empties the OM table and puts the state handler in it.
    void populateOMHash();
};
