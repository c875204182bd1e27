#pragma once
// The module's SOAP server. The host builds it, calls configure and setOAMManager (either order),
// runs it on a thread of its own, and later calls terminate from any thread. run_i binds the
// listening socket and serves one connection at a time until terminated or a socket error; each
// operation becomes a synchronous call on the manager, bounded by the 250 ms getWsTimeout.
//
// Host thread before run: construction, configure, setOAMManager. Running thread: run_i and the
// three operations. Any thread: terminate. Destroyed after the running thread has ended.

#include <cstdint>
#include <memory>
#include <string>

#include <ace/Time_Value.h>

#include "host/core/CachedLLLogger.h"
#include "host/core/MemAccounted.h"
#include "host/core/ObjectWithLogger.h"
#include "host/core/TSHandle.h"
#include "host/thread/CountedObjPtr.h"
#include "host/thread/JRunnableImpl.h"
#include "oam/soap/AdminPortSecurity.h"
#include "oam/soap/BasicAuthGate.h"
#include "oam/soap/RequestBounds.h"
#include "oam/soap/SocketsShutOnStop.h"
#include "oam/soap/SoapOAMOperations.h"

class OAMManager;
class ROConfiguration;

class OAMManagerWsJRunnable : public virtual JRunnable,
                              JRunnableImpl,
                              ObjectWithLoggerImpl,
                              SoapOAMOperations,
                              public MemAccounted<OAMManagerWsJRunnable>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "OAMManagerWsJRunnable";
    using OAMManagerPtr = CountedObjPtr<OAMManager, TSReferenceCount, DeleteCountedObjDeleter<OAMManager>>;

    OAMManagerWsJRunnable();
    ~OAMManagerWsJRunnable() override;

    // Keeps the handle; the configuration is read when run_i starts. Always true.
    bool configure(const TSHandle<ROConfiguration>& in_hConfig);
    void setOAMManager(const OAMManagerPtr& in_pOAMManager);
    const OAMManagerPtr& getOAMManager() const { return m_pOAMManager; }
    const ACE_Time_Value& getWsTimeout() const { return m_wsTimeout; }

    const char* getName() const override { return "OAM Manager Web Services"; }
    using JRunnableImpl::run;
    using JRunnableImpl::setRunningObserver;
    // Also wakes the threads waiting for a connection and cuts short the TLS handshakes in progress.
    void terminate() override;
    using ObjectWithLoggerImpl::getLogger;

    // The text of the context's last error, "Code: ... String: ...[ Detail: ...]"; empty when
    // the context holds no error.
    static void getLastSoapErrorMsg(struct soap* io_pSoap, std::string& out_strMsg);

  protected:
    // 0 when it ended on a termination request, 4294967295 on a configuration or socket error.
    std::uint32_t run_i() override;

  private:
    struct Settings
    {
        int nBlockingTimeMs;
        int nPort;
        std::string strAddress;
        int nIoTimeoutMs; // 0: connections are read and written without a time-out
        RequestBounds::Limits requestLimits;
        int nThreads; // connections served at once, each on a thread of its own
    };

    Settings readSettings(const CachedLLLoggingIdLogger& in_logger) const;
    bool bindListeningSocket(const CachedLLLoggingIdLogger& in_logger, struct soap* io_pSoap,
                             const Settings& in_settings);
    // False with the reason logged when the security settings cannot be put in force.
    bool setUpSecurity(const CachedLLLoggingIdLogger& in_logger, struct soap* io_pSoap);
    std::uint32_t serveConnections(CachedLLLoggingIdLogger& io_logger, struct soap* io_pSoap,
                                   const RequestBounds::Limits& in_limits);
    // One accepted connection: the TLS handshake when it is on, then the request.
    void serveConnection(CachedLLLoggingIdLogger& io_logger, struct soap* io_pSoap, const RequestBounds::Limits& in_limits);
    // Serves on in_settings.nThreads threads at once, this one among them, through copies of the
    // listening context; every thread has ended when it returns.
    std::uint32_t serveOnThreads(CachedLLLoggingIdLogger& io_logger, struct soap* io_pSoap, const Settings& in_settings);
    // Fills the context's fault with why the manager gave no answer; gives -1.
    int failWithReason(struct soap* io_pSoap, const std::string& in_strOmName) const;
    // The authenticated user of the request, "-" when the port does not authenticate.
    std::string userOf(const struct soap* in_pSoap) const;

    int executeCommand(struct soap* io_pSoap, SoapOAM__OAMCommand* in_pCmd,
                       SoapOAM__OAMCommandExecResult& out_result) override;
    int getOM(struct soap* io_pSoap, const std::string& in_strOmName, std::string& out_strOM) override;
    int getPSTNChannelStatus(struct soap* io_pSoap, SoapOAM__getPSTNChannelStatusResponse& out_status) override;

    TSHandle<ROConfiguration> m_hConfig;
    OAMManagerPtr m_pOAMManager;
    const ACE_Time_Value m_wsTimeout;
    // Set by run_i before the first connection, then only read by the serving threads.
    AdminPortSecurity m_security;
    std::unique_ptr<BasicAuthGate> m_pAuthGate;
    TlsServer m_tlsServer;
    // The listening socket while several threads wait on it.
    SocketsShutOnStop m_listeningSockets;
};
