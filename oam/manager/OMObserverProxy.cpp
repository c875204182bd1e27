#include "oam/manager/OMObserverProxy.h"

#include "oam/command/ProxyDestruction_MO.h"
#include "oam/manager/OAMManager.h"

OMObserverProxy::OMObserverProxy(IDGenerator& io_generator, const ActivationQueue& in_queue,
                                 TaskObjectContainer<GetOMSM>& in_proxyData, OAMManager& in_manager,
                                 std::uint64_t in_uiReporterIndex)
    : TaskObjectProxy<GetOMSM>(io_generator, in_queue), m_proxyData(in_proxyData), m_manager(in_manager),
      m_uiReporterIndex(in_uiReporterIndex)
{
}

OMObserverProxy::~OMObserverProxy()
{
    enqueueToOwner(new OAMManager::ProxyDestruction_MO(m_manager, getProxyID()), "OMObserverProxy::~OMObserverProxy");
}

bool OMObserverProxy::getOMSuccess(const char* in_szOMName, const ParameterValue& in_value)
{
    return enqueueToOwner(new OMSuccess_MO(m_proxyData, getProxyID(), in_szOMName, in_value, m_uiReporterIndex),
                          "OMObserverProxy::getOMSuccess");
}

bool OMObserverProxy::getOMFailure(const char* in_szOMName)
{
    return enqueueToOwner(new OMFailure_MO(m_proxyData, getProxyID(), in_szOMName, m_uiReporterIndex),
                          "OMObserverProxy::getOMFailure");
}

OMObserverProxy::OMSuccess_MO::OMSuccess_MO(TaskObjectContainer<GetOMSM>& in_proxyData, std::uint64_t in_ulProxyId,
                                            const char* in_szOMName, const ParameterValue& in_value,
                                            std::uint64_t in_uiReporterIndex)
    : MethodObject(in_proxyData, in_ulProxyId), m_strOMName(in_szOMName), m_value(in_value),
      m_uiReporterIndex(in_uiReporterIndex)
{
}

MOCallStatus OMObserverProxy::OMSuccess_MO::callOnObject_i(GetOMSM& io_sm)
{
    return io_sm.getOMSuccess(m_strOMName.c_str(), m_value, m_uiReporterIndex) ? MO_CALL_SUCCESS : MO_CALL_FAILURE;
}

OMObserverProxy::OMFailure_MO::OMFailure_MO(TaskObjectContainer<GetOMSM>& in_proxyData, std::uint64_t in_ulProxyId,
                                            const char* in_szOMName, std::uint64_t in_uiReporterIndex)
    : MethodObject(in_proxyData, in_ulProxyId), m_strOMName(in_szOMName),
      m_uiReporterIndex(in_uiReporterIndex)
{
}

MOCallStatus OMObserverProxy::OMFailure_MO::callOnObject_i(GetOMSM& io_sm)
{
    return io_sm.getOMFailure(m_strOMName.c_str(), m_uiReporterIndex) ? MO_CALL_SUCCESS : MO_CALL_FAILURE;
}
