#include "oam/command/CmdExecObserverProxy.h"

#include "oam/command/OAMCmdExecuterTaskImpl.h"
#include "oam/command/ProxyDestruction_MO.h"

CmdExecObserverProxy::CmdExecObserverProxy(IDGenerator& io_generator, const ActivationQueue& in_queue,
                                           TaskObjectContainer<CmdExecSM>& in_container, OAMCmdExecuterTaskImpl& in_task,
                                           const char* in_szCmdName, std::uint64_t in_uiExecuterIndex)
    : TaskObjectProxy<CmdExecSM>(io_generator, in_queue), m_container(in_container), m_task(in_task),
      m_strCmdName(in_szCmdName), m_uiExecuterIndex(in_uiExecuterIndex)
{
}

CmdExecObserverProxy::~CmdExecObserverProxy()
{
    enqueueToOwner(new OAMCmdExecuterTaskImpl::ProxyDestruction_MO(m_task, getProxyID()),
                   "CmdExecObserverProxy::~CmdExecObserverProxy");
}

bool CmdExecObserverProxy::executeCommandSuccess(const SoapOAM__OAMCommandExecResult& in_result)
{
    return enqueueToOwner(new CmdSuccess_MO(m_container, getProxyID(), m_strCmdName, in_result, m_uiExecuterIndex),
                          "CmdExecObserverProxy::executeCommandSuccess");
}

bool CmdExecObserverProxy::executeCommandFailure(const StringVector& in_vSupported)
{
    return enqueueToOwner(new CmdFailure_MO(m_container, getProxyID(), m_strCmdName, in_vSupported, m_uiExecuterIndex),
                          "CmdExecObserverProxy::executeCommandFailure");
}

CmdExecObserverProxy::CmdSuccess_MO::CmdSuccess_MO(TaskObjectContainer<CmdExecSM>& in_container, std::uint64_t in_ulProxyId,
                                                   const std::string& in_strCmdName,
                                                   const SoapOAM__OAMCommandExecResult& in_result,
                                                   std::uint64_t in_uiExecuterIndex)
    : MethodObject(in_container, in_ulProxyId), m_strCmdName(in_strCmdName), m_result(in_result),
      m_uiExecuterIndex(in_uiExecuterIndex)
{
}

MOCallStatus CmdExecObserverProxy::CmdSuccess_MO::callOnObject_i(CmdExecSM& io_sm)
{
    return io_sm.commandExecuted(m_strCmdName.c_str(), m_result, m_uiExecuterIndex) ? MO_CALL_SUCCESS : MO_CALL_FAILURE;
}

CmdExecObserverProxy::CmdFailure_MO::CmdFailure_MO(TaskObjectContainer<CmdExecSM>& in_container, std::uint64_t in_ulProxyId,
                                                   const std::string& in_strCmdName, const StringVector& in_vSupported,
                                                   std::uint64_t in_uiExecuterIndex)
    : MethodObject(in_container, in_ulProxyId), m_strCmdName(in_strCmdName), m_vSupported(in_vSupported),
      m_uiExecuterIndex(in_uiExecuterIndex)
{
}

MOCallStatus CmdExecObserverProxy::CmdFailure_MO::callOnObject_i(CmdExecSM& io_sm)
{
    return io_sm.commandNotSupported(m_strCmdName.c_str(), m_vSupported, m_uiExecuterIndex) ? MO_CALL_SUCCESS
                                                                                            : MO_CALL_FAILURE;
}
