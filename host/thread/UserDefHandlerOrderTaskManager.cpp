#include "host/thread/UserDefHandlerOrderTaskManager.h"

#include <algorithm>

void UserDefHandlerOrderTaskManager::startTasks_i()
{
    m_uiStarted = 0;
}

void UserDefHandlerOrderTaskManager::stopTasks_i()
{
}

void UserDefHandlerOrderTaskManager::advance_i()
{
    LH_CHECK_TASK_THREAD();
    const std::vector<ManageableTask*>& vpTasks = getTasks();
    if (getTaskState() == STARTING_STATE) {
        while (m_uiStarted < vpTasks.size() &&
               (m_uiStarted == 0 || vpTasks[m_uiStarted - 1]->getTaskState() == RUNNING_STATE))
            vpTasks[m_uiStarted++]->start();
    } else if (getTaskState() == STOPPING_STATE) {
        for (auto it = vpTasks.rbegin(); it != vpTasks.rend(); ++it) {
            const State state = (*it)->getTaskState();
            if (state == STOPPED_STATE)
                continue;
            if (state == STARTING_STATE || state == RUNNING_STATE)
                (*it)->stop();
            break;
        }
    }
    UserDefHandlerTaskManager::advance_i();
}

bool UserDefHandlerOrderTaskManager::isStartedInThisRun_i(const ManageableTask& in_task) const
{
    const std::vector<ManageableTask*>& vpTasks = getTasks();
    return std::find(vpTasks.begin(), vpTasks.begin() + m_uiStarted, &in_task) != vpTasks.begin() + m_uiStarted;
}
