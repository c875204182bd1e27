#include "host/thread/StaticReactorTaskImpl.h"

#include <ace/Select_Reactor.h>
#include <ace/Thread.h>

#include "host/core/AceCleanupLogger.h"

StaticReactorTaskImpl::StaticReactorTaskImpl()
    // No member function may run before every base is built: the timers get the task itself.
    : TaskWithTimersImpl(m_reactor, *this), m_queueHandler(*this),
      m_reactor(new ACE_Select_Reactor(nullptr, &m_timerQueue), true),
      m_queueNotifier(&m_reactor, &m_queueHandler, ACE_Event_Handler::EXCEPT_MASK)
{
    getActivationQueue()->queue()->notification_strategy(&m_queueNotifier);
}

StaticReactorTaskImpl::~StaticReactorTaskImpl()
{
    endThreadForDestruction();
    // Proxies held elsewhere queue nothing more from here on: an enqueue under way may still be
    // waking the reactor, which goes below.
    getActivationQueue()->getLifeline()->close();
    // What is still queued goes now, while the reactor can still take the notifications that its
    // destructors may cause.
    getActivationQueue()->destroyQueued();
    getActivationQueue()->queue()->notification_strategy(nullptr);
    cancelAllTimers();
}

void StaticReactorTaskImpl::onSvcEntry()
{
    setTaskState_i(RUNNING_STATE);
}

void StaticReactorTaskImpl::notifyParamValueChange(const std::string& in_strName, const ParameterValue& in_value)
{
    LH_DEBUG(AceCleanupLogger::get("linkhaven.thread.Task"),
             "task " << getTaskName() << " : parameter " << in_strName << " is now " << in_value);
}

void StaticReactorTaskImpl::runTaskLoop_i()
{
    m_reactor.owner(ACE_Thread::self());
    m_bLoopEnding = false;
    m_reactor.reset_reactor_event_loop();
    onSvcEntry();
    if (!m_bLoopEnding && m_reactor.run_reactor_event_loop() == -1 && !m_bLoopEnding)
        LH_ERROR(AceCleanupLogger::get("linkhaven.thread.Task"),
                 "task " << getTaskName() << " : reactor loop failed : " << ACE_OS::strerror(errno));
    // The timers end with the thread.
    cancelAllTimers();
}

void StaticReactorTaskImpl::endTaskLoop_i()
{
    m_bLoopEnding = true;
    m_reactor.end_reactor_event_loop();
}

void StaticReactorTaskImpl::runNextMethodObject_i()
{
    if (m_bLoopEnding)
        return;
    if (ACE_Method_Request* pMO = getActivationQueue()->dequeueNoWait())
        runMethodObject_i(pMO);
}

int StaticReactorTaskImpl::QueueHandler::handle_exception(ACE_HANDLE)
{
    m_task.runNextMethodObject_i();
    return 0;
}
