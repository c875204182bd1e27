#pragma once
// The observer an OM reporter is given for one request of the OAM manager. Called on the
// reporter's thread, it only copies the answer into a method object queued on the manager, where
// the GetOMSM registered under its identifier takes it. Its destruction is queued the same way,
// after any answer, so an answer always finds its state machine.

#include <cstdint>
#include <string>

#include "host/core/MemAccounted.h"
#include "oam/command/TaskObjectProxy.h"
#include "oam/manager/GetOMSM.h"
#include "oam/om/OMObserver.h"

class OAMManager;

class OMObserverProxy : public TaskObjectProxy<GetOMSM>, public OMObserver, public MemAccounted<OMObserverProxy>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "OMObserverProxy";

    class OMSuccess_MO;
    class OMFailure_MO;

    // Built on the manager's thread: draws its identifier from the pool's generator.
    OMObserverProxy(IDGenerator& io_generator, const ActivationQueue& in_queue,
                    TaskObjectContainer<GetOMSM>& in_proxyData, OAMManager& in_manager, std::uint64_t in_uiReporterIndex);
    ~OMObserverProxy() override;

    bool getOMSuccess(const char* in_szOMName, const ParameterValue& in_value) override;
    bool getOMFailure(const char* in_szOMName) override;

  private:
    TaskObjectContainer<GetOMSM>& m_proxyData;
    OAMManager& m_manager;
    const std::uint64_t m_uiReporterIndex;
};

class OMObserverProxy::OMSuccess_MO : public TaskObjectProxy<GetOMSM>::MethodObject, public MemAccounted<OMSuccess_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "OMObserverProxy::OMSuccess_MO";

    OMSuccess_MO(TaskObjectContainer<GetOMSM>& in_proxyData, std::uint64_t in_ulProxyId, const char* in_szOMName,
                 const ParameterValue& in_value, std::uint64_t in_uiReporterIndex);

  protected:
    MOCallStatus callOnObject_i(GetOMSM& io_sm) override;

  private:
    const std::string m_strOMName;
    const ParameterValue m_value;
    const std::uint64_t m_uiReporterIndex;
};

class OMObserverProxy::OMFailure_MO : public TaskObjectProxy<GetOMSM>::MethodObject, public MemAccounted<OMFailure_MO>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "OMObserverProxy::OMFailure_MO";

    OMFailure_MO(TaskObjectContainer<GetOMSM>& in_proxyData, std::uint64_t in_ulProxyId, const char* in_szOMName,
                 std::uint64_t in_uiReporterIndex);

  protected:
    MOCallStatus callOnObject_i(GetOMSM& io_sm) override;

  private:
    const std::string m_strOMName;
    const std::uint64_t m_uiReporterIndex;
};
