#pragma once
// The base of every task that executes OAM commands. Callers on any thread hand it commands; the
// commands travel to the task's thread as method objects and are executed there by the handler
// that the derived class finds for their name, or offered to the child executers, or answered
// with the list of supported commands. The derived class supplies the task's thread and loop
// (a StaticReactorTaskImpl) and the handler lookup.

#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include "host/core/LoggingIdLogger.h"
#include "host/core/ObjectWithLogger.h"
#include "host/core/StringVector.h"
#include "host/thread/CountedObjPtr.h"
#include "host/thread/MOCallStatus.h"
#include "host/thread/ManageableTask.h"
#include "host/thread/ObjectWithActivationQueue.h"
#include "oam/command/OAMCmdExecObserver.h"
#include "oam/command/OAMCmdExecuter.h"
#include "oam/command/SynchronousOAMCmdExecuter.h"

class CmdExecSM;
template <class T>
class TaskObjectPool;
template <class TaskT>
class TaskProxyDestruction_MO;

class OAMCmdExecuterTaskImpl : public virtual ManageableTask,
                               public virtual OAMCmdExecuter,
                               public virtual SynchronousOAMCmdExecuter,
                               virtual ObjectWithActivationQueue,
                               public virtual ObjectWithLogger<LoggingIdLogger>
{
  public:
    // The handler of one command name. Task thread only: handlers are shared by counts that are
    // not thread-safe.
    class CmdExecutionHandler : public virtual Object
    {
      public:
        // Runs the command; writes its output or error into the status text.
        virtual bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) = 0;
        virtual std::ostream& printUsage(std::ostream& io_os) const = 0;
        // The same for every handler: on rejected arguments the status text carries checkUsage's
        // reason, if any, then the usage.
        virtual bool validateUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const;
        // May append a reason to the status text when it rejects the arguments.
        virtual bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const = 0;

        // Appends an error text to the status text and gives false, the shape of every refusal.
        static bool refuse(SoapOAM__OAMCommandExecResult& io_result, const std::string& in_strText)
        {
            io_result.m_strStatusText += in_strText;
            return false;
        }
    };
    using CmdExecutionHandlerPtr = CountedObjPtr<CmdExecutionHandler, ReferenceCount>;
    using ChildExecuterPtr = CountedObjPtr<OAMCmdExecuter, TSReferenceCount, DeleteCountedObjDeleter<OAMCmdExecuter>>;

    class ExecCmd_MO;
    class FutureCmdExecObserver;
    using ProxyDestruction_MO = TaskProxyDestruction_MO<OAMCmdExecuterTaskImpl>;

    OAMCmdExecuterTaskImpl();
    ~OAMCmdExecuterTaskImpl() override;

    // Only while the task is stopped, before it starts: the child list is not locked.
    void addCmdExecuter(const ChildExecuterPtr& in_pExecuter);

    // Any thread: both build a method object and queue it; the synchronous one then waits for the
    // answer until the time-out. On the task's own thread, which cannot answer while it waits, the
    // synchronous one queues the command and gives false at once.
    bool executeCommand(const OAMCommand& in_cmd, OAMCmdExecObserver* in_pObserver) override;
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& out_result,
                        ACE_Time_Value in_timeout) override;

    LoggingIdLogger& getLogger() override { return m_logger; }
    const LoggingIdLogger& getLogger() const override { return m_logger; }

    // The class's own virtual operations stay declared in this order (routing, lookup, names):
    // host components built against the module rely on their slots.
  protected:
    // Task thread: routes one command. The observer, which may be null, belongs to it.
    virtual bool executeCommand_i(const OAMCommand& in_cmd, OAMCmdExecObserver* in_pObserver);
    // Task thread: the handler for the command's name, or null.
    virtual CmdExecutionHandlerPtr findCmdExecHandler_i(const OAMCommand& in_cmd) = 0;

  public:
    // The names of the commands this task handles itself; the base has none.
    virtual void getSupportedCommands(StringVector& out_vCommands) const;

  protected:
    // Task thread: an observer proxy of a fan-out is gone; its state machine goes back to the pool
    // once no other proxy holds it.
    MOCallStatus proxyDestruction_i(std::uint64_t in_ulProxyId);
    // Task thread, as it ends: commands still out with the children give up their outcome.
    void giveUpFannedOutCommands_i();

    // In registration order; touched on the task thread once the task runs.
    std::vector<ChildExecuterPtr> m_vChildOAMCmdExecuter;
    // The fan-out's state machines; task thread only.
    std::unique_ptr<TaskObjectPool<CmdExecSM>> m_pCmdExecSMPool;

  private:
    friend class CmdExecSM;
    friend class TaskProxyDestruction_MO<OAMCmdExecuterTaskImpl>;

    // Task thread: offers the command to every child executer; the first result wins.
    bool fanOutCommand_i(const OAMCommand& in_cmd, std::unique_ptr<OAMCmdExecObserver> in_pObserver);

    LoggingIdLogger m_logger;
};
