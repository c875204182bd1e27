#include "host/thread/JRunnableImpl.h"

std::uint32_t JRunnableImpl::run()
{
    const std::uint32_t uiResult = run_i();
    newTaskState(Task::STOPPED_STATE);
    return uiResult;
}

void JRunnableImpl::setRunningObserver(RunningObserver* in_pObserver)
{
    m_pRunningObserver.store(in_pObserver, std::memory_order_release);
}

void JRunnableImpl::newTaskState(Task::State in_state)
{
    if (RunningObserver* pObserver = m_pRunningObserver.load(std::memory_order_acquire))
        pObserver->newTaskState(*this, in_state);
}
