#include "host/thread/TaskWithTimersImpl.h"

#include <algorithm>

#include "host/core/AceCleanupLogger.h"
#include "host/thread/Task.h"
#include "host/thread/TaskFaultReport.h"
#include "host/thread/ThreadChecker.h"
#include "host/thread/TimeoutProcessor.h"

namespace {
const Logger& timerLogger()
{
    return AceCleanupLogger::get("linkhaven.thread.TaskWithTimersImpl");
}
} // namespace

TaskWithTimersImpl::TaskWithTimersImpl(const Task& in_task) : m_task(in_task), m_dispatcher(*this) {}

TaskWithTimersImpl::~TaskWithTimersImpl() = default;

long TaskWithTimersImpl::scheduleTimer(TimeoutProcessor* in_pProcessor, void* in_pData, const ACE_Time_Value& in_delay,
                                       const ACE_Time_Value& in_interval, std::uint64_t in_ulCount)
{
    LH_CHECK_THREAD(m_task.getThreadChecker());
    std::unique_ptr<TimeoutProcessor> pProcessor(in_pProcessor);
    if (!pProcessor) {
        LH_ERROR(timerLogger(), "scheduleTimer : no timeout processor");
        return -1;
    }
    // Both are added to the queue's clock; past its end they would wrap and fire at once.
    const ACE_Time_Value now = m_timerQueue.gettimeofday();
    const ACE_Time_Value timeLeft = ACE_Time_Value::max_time - now;
    if (in_delay >= timeLeft || in_interval >= timeLeft - in_delay) {
        LH_ERROR(timerLogger(), "scheduleTimer : delay or interval beyond the end of time");
        return -1;
    }
    auto pTimer = std::make_unique<Timer>(
        Timer{-1, std::move(pProcessor), in_pData, in_interval > ACE_Time_Value::zero, in_ulCount});
    const long lId = m_timerQueue.schedule(&m_dispatcher, pTimer.get(), now + in_delay, in_interval);
    if (lId < 0) {
        LH_ERROR(timerLogger(), "scheduleTimer : the timer queue refused the timer");
        return -1;
    }
    pTimer->lId = lId;
    m_timers[lId] = std::move(pTimer);
    return lId;
}

bool TaskWithTimersImpl::cancelTimer(long in_lTimerId, void** out_ppData)
{
    LH_CHECK_THREAD(m_task.getThreadChecker());
    const auto found = m_timers.find(in_lTimerId);
    if (found == m_timers.end())
        return false;
    if (out_ppData)
        *out_ppData = found->second->pData;
    m_timerQueue.cancel(in_lTimerId);
    if (found->second.get() == m_pFiringTimer)
        m_pCancelledWhileFiring = std::move(found->second);
    m_timers.erase(found);
    return true;
}

void TaskWithTimersImpl::expireTimers_i()
{
    LH_CHECK_THREAD(m_task.getThreadChecker());
    if (!m_timerQueue.is_empty())
        m_timerQueue.expire();
}

std::chrono::microseconds TaskWithTimersImpl::untilNextExpiry_i(const ACE_Time_Value& in_longest)
{
    LH_CHECK_THREAD(m_task.getThreadChecker());
    if (m_timerQueue.is_empty())
        return std::chrono::microseconds(in_longest.usec()) + std::chrono::seconds(in_longest.sec());
    const ACE_Time_Value left = std::min(m_timerQueue.earliest_time() - m_timerQueue.gettimeofday(), in_longest);
    return std::max(std::chrono::microseconds(0), std::chrono::seconds(left.sec()) + std::chrono::microseconds(left.usec()));
}

void TaskWithTimersImpl::cancelAllTimers()
{
    LH_CHECK_THREAD(m_task.getThreadChecker());
    for (const auto& entry : m_timers)
        m_timerQueue.cancel(entry.first);
    m_timers.clear();
}

int TaskWithTimersImpl::Dispatcher::handle_timeout(const ACE_Time_Value& in_now, const void* in_pAct)
{
    m_owner.expire_i(in_now, *static_cast<Timer*>(const_cast<void*>(in_pAct)));
    return 0;
}

void TaskWithTimersImpl::expire_i(const ACE_Time_Value& in_now, Timer& io_timer)
{
    LH_CHECK_THREAD(m_task.getThreadChecker());
    // A last expiry ends the timer before its processor runs, as the queue does with a one-shot
    // timer: its identifier may then be given to a timer that the processor schedules.
    std::unique_ptr<Timer> pEnded;
    if (!io_timer.bPeriodic || io_timer.ulExpiriesLeft == 1) {
        if (io_timer.bPeriodic)
            m_timerQueue.cancel(io_timer.lId);
        const auto found = m_timers.find(io_timer.lId);
        pEnded = std::move(found->second);
        m_timers.erase(found);
    } else if (io_timer.ulExpiriesLeft > 0)
        --io_timer.ulExpiriesLeft;

    m_pFiringTimer = &io_timer;
    try {
        io_timer.pProcessor->handleTimeout(in_now, io_timer.pData);
    } catch (...) {
        // The timer keeps its period: the next expiry may well succeed.
        reportTaskFault(m_task, "timer " + std::to_string(io_timer.lId) + " of " +
                                    describeType(typeid(*io_timer.pProcessor)));
    }
    m_pFiringTimer = nullptr;
    m_pCancelledWhileFiring.reset();
}
