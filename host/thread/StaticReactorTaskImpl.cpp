#include "host/thread/StaticReactorTaskImpl.h"

#include <chrono>

#include "host/core/AceCleanupLogger.h"

namespace {
// Method objects per round, between two looks at the timers.
constexpr int METHOD_OBJECTS_PER_ROUND = 10;
// The longest sleep without a timer due: it keeps the deadline's arithmetic far from overflow.
const ACE_Time_Value LONGEST_SLEEP(3600);
} // namespace

StaticReactorTaskImpl::StaticReactorTaskImpl()
    // No member function may run before every base is built: the timers get the task itself.
    : TaskWithTimersImpl(static_cast<const Task&>(*this))
{
}

StaticReactorTaskImpl::~StaticReactorTaskImpl()
{
    endThreadForDestruction();
    // Proxies held elsewhere queue nothing more from here on: an enqueue under way may still be
    // waking the queue, which goes with the base.
    getActivationQueue()->getLifeline()->close();
    // What is still queued goes now, while every part of the task its destructors may reach stands.
    getActivationQueue()->destroyQueued();
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
    LH_CHECK_TASK_THREAD();
    m_bLoopEnding = false;
    onSvcEntry();
    while (!m_bLoopEnding) {
        expireTimers_i();
        if (m_bLoopEnding || !runMethodObjects_i())
            break;
        getActivationQueue()->waitUntil(std::chrono::steady_clock::now() + untilNextExpiry_i(LONGEST_SLEEP));
    }
    // The timers end with the thread.
    cancelAllTimers();
}

void StaticReactorTaskImpl::endTaskLoop_i()
{
    m_bLoopEnding = true;
}

bool StaticReactorTaskImpl::runMethodObjects_i()
{
    for (int i = 0; i < METHOD_OBJECTS_PER_ROUND && !m_bLoopEnding; ++i) {
        ACE_Method_Request* const pMO = getActivationQueue()->dequeueNoWait();
        if (!pMO)
            break;
        runMethodObject_i(pMO);
    }
    return !m_bLoopEnding;
}
