#include "host/thread/ManageableTaskImplBase.h"

#include <algorithm>
#include <system_error>

#include <ace/Method_Request.h>

#include "host/core/AceCleanupLogger.h"
#include "host/core/Assertion.h"
#include "host/core/MemAccounted.h"
#include "host/thread/Deadline.h"
#include "host/thread/MOCallStatus.h"
#include "host/thread/TaskFaultReport.h"
#include "host/thread/TaskObserver.h"

namespace {
const Logger& taskLogger()
{
    static const Logger& logger = AceCleanupLogger::get("linkhaven.thread.Task");
    return logger;
}

// A stop or a kill, for the run of the task it was asked of; a later run ignores it.
class Lifecycle_MO : public ACE_Method_Request, public MemAccounted<Lifecycle_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "Lifecycle_MO";
    // Kills jump ahead of everything else queued.
    static constexpr unsigned long KILL_PRIORITY = 1;

    Lifecycle_MO(const std::atomic<std::uint64_t>& in_runGeneration, std::uint64_t in_ulRun, MOCallStatus in_status)
        : ACE_Method_Request(in_status == MO_CALL_KILL ? KILL_PRIORITY : 0), m_runGeneration(in_runGeneration),
          m_ulQueuedForRun(in_ulRun), m_status(in_status)
    {
    }

    int call() override { return m_runGeneration.load() == m_ulQueuedForRun ? m_status : MO_CALL_SUCCESS; }

  private:
    const std::atomic<std::uint64_t>& m_runGeneration;
    const std::uint64_t m_ulQueuedForRun;
    const MOCallStatus m_status;
};

template <class Predicate>
bool waitFor(std::condition_variable& io_cond, std::unique_lock<std::mutex>& io_lock, const ACE_Time_Value& in_timeout,
             Predicate in_predicate)
{
    const Deadline deadline(in_timeout);
    if (!deadline.isLimited()) {
        io_cond.wait(io_lock, in_predicate);
        return true;
    }
    return io_cond.wait_until(io_lock, deadline.get(), in_predicate);
}
} // namespace

ManageableTaskImplBase::ManageableTaskImplBase() = default;

ManageableTaskImplBase::~ManageableTaskImplBase()
{
    endThreadForDestruction();
}

bool ManageableTaskImplBase::configure(const TSHandle<ROConfiguration>& in_hConfig)
{
    m_hConfigCache = in_hConfig;
    return true;
}

void ManageableTaskImplBase::setTaskName(const char* in_szName)
{
    m_strTaskName = in_szName ? in_szName : "";
}

bool ManageableTaskImplBase::start()
{
    std::unique_lock<std::mutex> lock(m_mutexThread);
    // Whatever other callers did while this one waited, the state and the thread are looked at
    // again after each wake-up: one run at a time.
    for (;;) {
        if (getTaskState() != STOPPED_STATE || m_threadChecker.isBoundToCurrentThread()) {
            LH_DEBUG(taskLogger(), "start : task " << m_strTaskName << " is " << getStateString(getTaskState()));
            return false;
        }
        if (!m_bThreadRunning)
            break;
        // The last run's thread has set STOPPED_STATE and is about to end.
        m_condThread.wait(lock);
    }
    if (m_thread.joinable())
        m_thread.join();
    ++m_ulRunGeneration;
    {
        std::lock_guard<std::mutex> stateLock(m_mutexState);
        m_bRunningReached = false;
    }
    changeState(STARTING_STATE);
    m_bThreadRunning = true;
    try {
        m_thread = std::thread(&ManageableTaskImplBase::threadBody, this);
    } catch (const std::system_error& e) {
        m_bThreadRunning = false;
        LH_ERROR(taskLogger(), "start : task " << m_strTaskName << " has no thread : " << e.what());
        changeState(STOPPED_STATE);
        return false;
    }
    return true;
}

bool ManageableTaskImplBase::stop()
{
    return queueLifecycle(MO_CALL_STOP, "ManageableTaskImplBase::stop");
}

bool ManageableTaskImplBase::kill()
{
    return queueLifecycle(MO_CALL_KILL, "ManageableTaskImplBase::kill");
}

bool ManageableTaskImplBase::waitUntilDone(const ACE_Time_Value& in_timeout)
{
    if (m_threadChecker.isBoundToCurrentThread())
        return false;
    std::unique_lock<std::mutex> lock(m_mutexThread);
    // The run under way now: should another start follow its end before this caller wakes, the
    // new run is not waited for.
    const std::uint64_t ulRun = m_ulRunGeneration.load();
    if (!waitFor(m_condThread, lock, in_timeout,
                 [this, ulRun] { return !m_bThreadRunning || m_ulRunGeneration.load() != ulRun; }))
        return false;
    if (!m_bThreadRunning && m_thread.joinable())
        m_thread.join();
    return true;
}

bool ManageableTaskImplBase::waitForStart(const ACE_Time_Value& in_timeout)
{
    if (m_threadChecker.isBoundToCurrentThread())
        return false;
    std::unique_lock<std::mutex> lock(m_mutexState);
    waitFor(m_condState, lock, in_timeout, [this] { return getTaskState() != STARTING_STATE; });
    return m_bRunningReached;
}

bool ManageableTaskImplBase::stopKillExit(const ACE_Time_Value& in_stopTimeout)
{
    stop();
    if (waitUntilDone(in_stopTimeout))
        return true;
    LH_WARN(taskLogger(), "stopKillExit : task " << m_strTaskName << " did not stop in time; killing it");
    kill();
    waitUntilDone();
    return false;
}

void ManageableTaskImplBase::addTaskObserver(TaskObserver* in_pObserver)
{
    std::lock_guard<std::mutex> lock(m_mutexObservers);
    m_vpObservers.push_back(in_pObserver);
}

void ManageableTaskImplBase::removeTaskObserver(TaskObserver* in_pObserver)
{
    std::lock_guard<std::mutex> lock(m_mutexObservers);
    m_vpObservers.erase(std::remove(m_vpObservers.begin(), m_vpObservers.end(), in_pObserver), m_vpObservers.end());
}

bool ManageableTaskImplBase::enqueue(ACE_Method_Request* in_pMO, const char* in_szDescription)
{
    return m_activationQueue.enqueueMO(in_pMO, in_szDescription);
}

void ManageableTaskImplBase::setTaskState_i(State in_state)
{
    LH_CHECK_TASK_THREAD();
    changeState(in_state);
}

void ManageableTaskImplBase::stopCompleted()
{
    LH_CHECK_TASK_THREAD();
    endTaskLoop_i();
}

void ManageableTaskImplBase::handleMOCallFailure()
{
    LH_DEBUG(taskLogger(), "task " << m_strTaskName << " : a method object failed");
}

void ManageableTaskImplBase::handleMOCallStop()
{
    stopCompleted();
}

void ManageableTaskImplBase::handleMOCallKill()
{
}

int ManageableTaskImplBase::close(unsigned long)
{
    setTaskState_i(STOPPED_STATE);
    return 0;
}

void ManageableTaskImplBase::runMethodObject_i(ACE_Method_Request* in_pMO)
{
    LH_CHECK_TASK_THREAD();
    int nStatus;
    try {
        nStatus = in_pMO->call();
    } catch (...) {
        reportTaskFault(*this, "method object " + describeType(typeid(*in_pMO)));
        nStatus = MO_CALL_FAILURE;
    }
    delete in_pMO;
    switch (nStatus) {
    case MO_CALL_SUCCESS:
        break;
    case MO_CALL_STOP:
        // A second stop while the first is under way changes nothing.
        if (getTaskState() == STOPPING_STATE || getTaskState() == KILLING_STATE)
            break;
        setTaskState_i(STOPPING_STATE);
        handleMOCallStop();
        break;
    case MO_CALL_KILL:
        setTaskState_i(KILLING_STATE);
        handleMOCallKill();
        endTaskLoop_i();
        break;
    default:
        handleMOCallFailure();
        break;
    }
}

void ManageableTaskImplBase::endThreadForDestruction()
{
    bool bRunning;
    {
        std::lock_guard<std::mutex> lock(m_mutexThread);
        bRunning = m_bThreadRunning;
    }
    if (!Assertion(!bRunning, "! m_bThreadRunning", __FILE__, __LINE__, taskLogger())) {
        // Parts of the task are gone already: what is queued must not do its bookkeeping.
        m_bDestroying.store(true, std::memory_order_release);
        kill();
    }
    waitUntilDone();
}

void ManageableTaskImplBase::threadBody()
{
    m_threadChecker.bindToCurrentThread();
    runTaskLoop_i();
    const std::size_t uiUnrun = m_bDestroying.load(std::memory_order_acquire) ? m_activationQueue.destroyQueued()
                                                                              : m_activationQueue.dropQueuedAtRunEnd();
    if (uiUnrun > 0)
        LH_DEBUG(taskLogger(), "task " << m_strTaskName << " ended with " << uiUnrun << " method objects unrun");
    close(0);
    if (getTaskState() != STOPPED_STATE)
        setTaskState_i(STOPPED_STATE);
    m_threadChecker.release();
    // Last touch of this object: a waiter may destroy it as soon as the lock is free.
    std::lock_guard<std::mutex> lock(m_mutexThread);
    m_bThreadRunning = false;
    m_condThread.notify_all();
}

bool ManageableTaskImplBase::queueLifecycle(MOCallStatus in_status, const char* in_szDescription)
{
    // The run is read before the state, so that a stop racing with a restart never stops the new run.
    const std::uint64_t ulRun = m_ulRunGeneration.load();
    if (getTaskState() == STOPPED_STATE) {
        LH_DEBUG(taskLogger(), in_szDescription << " : task " << m_strTaskName << " is not running");
        return false;
    }
    return enqueue(new Lifecycle_MO(m_ulRunGeneration, ulRun, in_status), in_szDescription);
}

void ManageableTaskImplBase::changeState(State in_state)
{
    {
        std::lock_guard<std::mutex> lock(m_mutexState);
        if (getTaskState() == in_state)
            return;
        m_state.store(in_state, std::memory_order_release);
        if (in_state == RUNNING_STATE)
            m_bRunningReached = true;
    }
    m_condState.notify_all();
    LH_DEBUG(taskLogger(), "task " << m_strTaskName << " is " << getStateString(in_state));
    std::lock_guard<std::mutex> lock(m_mutexObservers);
    for (TaskObserver* pObserver : m_vpObservers)
        pObserver->newTaskState(*this, in_state);
}
