#include "oam/command/OAMCmdExecuterTaskImpl.h"

#include <cerrno>
#include <memory>
#include <sstream>

#include "host/core/AceCleanupLogger.h"
#include "host/core/Assertion.h"
#include "host/core/TraceScope.h"
#include "host/thread/ActivationQueue.h"
#include "host/thread/Deadline.h"
#include "host/thread/ThreadChecker.h"
#include "oam/command/CmdExecObserverProxy.h"
#include "oam/command/CmdExecSM.h"
#include "oam/command/ExecCmd_MO.h"
#include "oam/command/FutureCmdExecObserver.h"
#include "oam/command/LastErrorText.h"
#include "oam/command/SynchCallFailure.h"
#include "oam/command/TaskObjectPool.h"

namespace {
const char* const LOGGER_NAME = "linkhaven.oam.OAMCmdExecuterTaskImpl";
const char* const EXECUTE_COMMAND_DESCRIPTION = "OAMCmdExecuterTaskImpl::executeCommand";

const Logger& processLogger()
{
    return AceCleanupLogger::get(LOGGER_NAME);
}

} // namespace

bool OAMCmdExecuterTaskImpl::CmdExecutionHandler::validateUsage(const OAMCommand& in_cmd,
                                                                SoapOAM__OAMCommandExecResult& io_result) const
{
    io_result.m_strStatusText.clear();
    if (checkUsage(in_cmd, io_result)) {
        io_result.m_bExecSuccess = true;
        return true;
    }
    std::ostringstream usage;
    usage << "Incorrect Usage\nusage : ";
    printUsage(usage);
    if (!io_result.m_strStatusText.empty())
        io_result.m_strStatusText += ". ";
    io_result.m_strStatusText += usage.str();
    io_result.m_bExecSuccess = false;
    return false;
}

OAMCmdExecuterTaskImpl::OAMCmdExecuterTaskImpl()
    : m_pCmdExecSMPool(std::make_unique<TaskObjectPool<CmdExecSM>>(1)), m_logger(Logger(LOGGER_NAME))
{
}

OAMCmdExecuterTaskImpl::~OAMCmdExecuterTaskImpl() = default;

void OAMCmdExecuterTaskImpl::addCmdExecuter(const ChildExecuterPtr& in_pExecuter)
{
    TraceScope trace(m_logger, "OAMCmdExecuterTaskImpl::addCmdExecuter");
    if (!Assertion(getTaskState() == STOPPED_STATE, "getTaskState() == STOPPED_STATE", __FILE__, __LINE__, m_logger))
        return;
    m_vChildOAMCmdExecuter.push_back(in_pExecuter);
}

bool OAMCmdExecuterTaskImpl::executeCommand(const OAMCommand& in_cmd, OAMCmdExecObserver* in_pObserver)
{
    TraceScope trace(m_logger, "OAMCmdExecuterTaskImpl::executeCommand");
    return getActivationQueue()->enqueueMO(new ExecCmd_MO(*this, in_cmd, in_pObserver), EXECUTE_COMMAND_DESCRIPTION);
}

bool OAMCmdExecuterTaskImpl::executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result,
                                            ACE_Time_Value in_timeout)
{
    TraceScope trace(m_logger, "OAMCmdExecuterTaskImpl::executeCommand");
    out_result.m_bExecSuccess = false;
    out_result.m_strStatusText = "Error";
    FutureCmdExecObserver::ResultFuture future;
    if (!getActivationQueue()->enqueueMO(new ExecCmd_MO(*this, in_cmd, new FutureCmdExecObserver(future)),
                                         EXECUTE_COMMAND_DESCRIPTION)) {
        noteSynchCallFailure(SynchCallFailure::NOT_QUEUED);
        return false;
    }

    // On the task's own thread (a handler asking its own task) nothing can answer while we wait:
    // the command runs later and its answer is discarded, as after a time-out.
    if (getThreadChecker().isBoundToCurrentThread()) {
        errno = EDEADLK;
        LH_DEBUG(processLogger(), "Error executing command " << in_cmd << " : " << lastErrorText());
        noteSynchCallFailure(SynchCallFailure::NO_ANSWER);
        return false;
    }

    Fallible<SoapOAM__OAMCommandExecResult> answer;
    const bool bAnswered = future.get(answer, Deadline(in_timeout));
    if (bAnswered && answer.valid()) {
        out_result.m_bExecSuccess = answer.value().m_bExecSuccess;
        out_result.m_strStatusText = answer.value().m_strStatusText;
        return true;
    }
    LH_DEBUG(processLogger(),
             "Error executing command " << in_cmd << " : " << (bAnswered ? "no answer will come" : lastErrorText()));
    noteSynchCallFailure(bAnswered ? SynchCallFailure::NO_ANSWER : SynchCallFailure::TIMED_OUT);
    return false;
}

void OAMCmdExecuterTaskImpl::getSupportedCommands(StringVector& out_vCommands) const
{
    out_vCommands.clear();
}

bool OAMCmdExecuterTaskImpl::executeCommand_i(const OAMCommand& in_cmd, OAMCmdExecObserver* in_pObserver)
{
    LH_CHECK_TASK_THREAD();
    TraceScope trace(m_logger, "OAMCmdExecuterTaskImpl::executeCommand_i");
    std::unique_ptr<OAMCmdExecObserver> pObserver(in_pObserver);
    LH_DEBUG(m_logger, "OAMCmdExecuterTaskImpl::executeCommand_i : " << in_cmd);

    CmdExecutionHandlerPtr pHandler = findCmdExecHandler_i(in_cmd);
    if (!pHandler.isNull()) {
        LH_DEBUG(m_logger, "OAMCmdExecuterTaskImpl::executeCommand_i : (" << in_cmd << ") cmd handled by "
                                                                          << getTaskName());
        // A command this task handles itself runs only when somebody waits for its result.
        if (!pObserver)
            return true;
        SoapOAM__OAMCommandExecResult result;
        result.m_strStatusText = "Success";
        bool bOk = pHandler->validateUsage(in_cmd, result);
        if (bOk)
            bOk = pHandler->executeCommand(in_cmd, result);
        result.m_bExecSuccess = bOk;
        return pObserver->executeCommandSuccess(result);
    }

    LH_DEBUG(m_logger, "OAMCmdExecuterTaskImpl::executeCommand_i : (" << in_cmd << ") cmd NOT handled by "
                                                                      << getTaskName());
    if (m_vChildOAMCmdExecuter.empty()) {
        StringVector vSupported;
        getSupportedCommands(vSupported);
        return pObserver ? pObserver->executeCommandFailure(vSupported) : true;
    }
    return fanOutCommand_i(in_cmd, std::move(pObserver));
}

bool OAMCmdExecuterTaskImpl::fanOutCommand_i(const OAMCommand& in_cmd, std::unique_ptr<OAMCmdExecObserver> in_pObserver)
{
    LH_CHECK_TASK_THREAD();
    CountedObjPtr<CmdExecSM, ReferenceCount> pCmdExecSM = m_pCmdExecSMPool->acquire();
    pCmdExecSM->start(this, in_cmd, std::move(in_pObserver));
    TaskObjectPool<CmdExecSM>::ProxyData& proxyData = m_pCmdExecSMPool->getProxyData(0);
    for (std::uint64_t ui = 0; ui < m_vChildOAMCmdExecuter.size(); ++ui) {
        auto* pProxy = new CmdExecObserverProxy(proxyData.getIDGenerator(), *getActivationQueue(), proxyData, *this,
                                                in_cmd.getName(), ui);
        // Registered before the child may answer, on this thread, behind this method object.
        proxyData.setObject(pProxy->getProxyID(), pCmdExecSM);
        if (!m_vChildOAMCmdExecuter[ui]->executeCommand(in_cmd, pProxy)) {
            LH_ERROR(processLogger(), "executeCommand failed");
            return false;
        }
    }
    return true;
}

MOCallStatus OAMCmdExecuterTaskImpl::proxyDestruction_i(std::uint64_t in_ulProxyId)
{
    LH_CHECK_TASK_THREAD();
    TraceScope trace(m_logger, "OAMCmdExecuterTaskImpl::proxyDestruction_i");
    return m_pCmdExecSMPool->getProxyData(0).releaseProxy(in_ulProxyId, "! pCmdExecSM.isNull()", m_logger,
                                                           processLogger())
               ? MO_CALL_SUCCESS
               : MO_CALL_FAILURE;
}

void OAMCmdExecuterTaskImpl::giveUpFannedOutCommands_i()
{
    LH_CHECK_TASK_THREAD();
    m_pCmdExecSMPool->getProxyData(0).giveUpAll();
}
