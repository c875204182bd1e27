#pragma once
// The observer a child executer is given for one fanned-out command. Called on the child's thread,
// it only copies its arguments into a method object queued on the owning task, where the state
// machine registered under its identifier takes the answer. Its destruction is queued the same
// way, after any answer, so an answer always finds its state machine.

#include <cstdint>
#include <string>

#include "host/core/MemAccounted.h"
#include "oam/command/CmdExecSM.h"
#include "oam/command/OAMCmdExecObserver.h"
#include "oam/command/TaskObjectProxy.h"

class OAMCmdExecuterTaskImpl;

class CmdExecObserverProxy : public TaskObjectProxy<CmdExecSM>,
                             public OAMCmdExecObserver,
                             public MemAccounted<CmdExecObserverProxy>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "CmdExecObserverProxy";

    class CmdSuccess_MO;
    class CmdFailure_MO;

    // Built on the owning task's thread: draws its identifier from the task's generator.
    CmdExecObserverProxy(IDGenerator& io_generator, const ActivationQueue& in_queue,
                         TaskObjectContainer<CmdExecSM>& in_container, OAMCmdExecuterTaskImpl& in_task,
                         const char* in_szCmdName, std::uint64_t in_uiExecuterIndex);
    ~CmdExecObserverProxy() override;

    bool executeCommandSuccess(const SoapOAM__OAMCommandExecResult& in_result) override;
    bool executeCommandFailure(const StringVector& in_vSupported) override;

  private:
    TaskObjectContainer<CmdExecSM>& m_container;
    OAMCmdExecuterTaskImpl& m_task;
    const std::string m_strCmdName;
    const std::uint64_t m_uiExecuterIndex;
};

class CmdExecObserverProxy::CmdSuccess_MO : public TaskObjectProxy<CmdExecSM>::MethodObject,
                                            public MemAccounted<CmdSuccess_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "CmdSuccess_MO";

    CmdSuccess_MO(TaskObjectContainer<CmdExecSM>& in_container, std::uint64_t in_ulProxyId, const std::string& in_strCmdName,
                  const SoapOAM__OAMCommandExecResult& in_result, std::uint64_t in_uiExecuterIndex);

  protected:
    MOCallStatus callOnObject_i(CmdExecSM& io_sm) override;

  private:
    const std::string m_strCmdName;
    const SoapOAM__OAMCommandExecResult m_result;
    const std::uint64_t m_uiExecuterIndex;
};

class CmdExecObserverProxy::CmdFailure_MO : public TaskObjectProxy<CmdExecSM>::MethodObject,
                                            public MemAccounted<CmdFailure_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "CmdFailure_MO";

    CmdFailure_MO(TaskObjectContainer<CmdExecSM>& in_container, std::uint64_t in_ulProxyId, const std::string& in_strCmdName,
                  const StringVector& in_vSupported, std::uint64_t in_uiExecuterIndex);

  protected:
    MOCallStatus callOnObject_i(CmdExecSM& io_sm) override;

  private:
    const std::string m_strCmdName;
    const StringVector m_vSupported;
    const std::uint64_t m_uiExecuterIndex;
};
