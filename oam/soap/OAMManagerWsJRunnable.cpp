#include "oam/soap/OAMManagerWsJRunnable.h"

#include <sys/socket.h>

#include <future>
#include <optional>
#include <sstream>
#include <vector>

#include "host/core/ParameterValue.h"
#include "host/core/TraceScope.h"
#include "host/infra/ROConfiguration.h"
#include "oam/command/SoapOAMCommand.h"
#include "oam/command/SynchCallFailure.h"
#include "oam/manager/OAMCpuAffinity.h"
#include "oam/manager/OAMManager.h"
#include "oam/soap/AdminAudit.h"
#include "oam/soap/IdentityEncoding.h"
#include "oam/soap/PeerAddress.h"
#include "oam/soap/SoapContext.h"
#include "oam/soap/SoapOAMServe.h"
#include "oam/soap/SoapRequestCount.h"
#include "oam/soap/SoapTimeout.h"

namespace {
const char* const RUN_SCOPE = "OAMManagerWsJRunnable::run_i";
const char* const BLOCKING_TIME_KEY = "linkhaven.gw.ws.blockingTimeMs";
const char* const PORT_KEY = "linkhaven.oam.webServicePort";
const char* const ADDRESS_KEY = "linkhaven.oam.webServiceIpAddress";
const char* const IO_TIMEOUT_KEY = "linkhaven.oam.webServiceIoTimeoutMs";
const char* const REQUEST_TIMEOUT_KEY = "linkhaven.oam.webServiceRequestTimeoutMs";
const char* const MAX_REQUEST_BYTES_KEY = "linkhaven.oam.webServiceMaxRequestBytes";
const char* const THREADS_KEY = "linkhaven.oam.webServiceThreads";
const char* const CHANNEL_STATUS_OM = "linkhaven.om.pstn.gwNetIf.VSMChannelStatus";
const int DEFAULT_BLOCKING_TIME_MS = 1000;
const int DEFAULT_PORT = 18081;
const int LISTEN_BACKLOG = 100;
const std::uint32_t RUN_FAILED = static_cast<std::uint32_t>(-1);

void logBoundReached(const CachedLLLoggingIdLogger& in_logger, const RequestBounds& in_bounds)
{
    switch (in_bounds.reached()) {
    case RequestBounds::Reached::TIME_OUT:
        LH_DEBUG(in_logger, "Connection closed: request time-out reached");
        break;
    case RequestBounds::Reached::SIZE_LIMIT:
        LH_DEBUG(in_logger, "Connection closed: request larger than " << in_bounds.maxBytes() << " bytes");
        break;
    case RequestBounds::Reached::TERMINATION:
        LH_DEBUG(in_logger, "Connection closed: terminating");
        break;
    case RequestBounds::Reached::NONE:
        break;
    }
}
} // namespace

OAMManagerWsJRunnable::OAMManagerWsJRunnable()
    : ObjectWithLoggerImpl(SoapOAMOperations::operationsLogger()), m_wsTimeout(0, 250000)
{
}

OAMManagerWsJRunnable::~OAMManagerWsJRunnable()
{
    TraceScope trace(getLogger(), "OAMManagerWsJRunnable dtor");
}

bool OAMManagerWsJRunnable::configure(const TSHandle<ROConfiguration>& in_hConfig)
{
    m_hConfig = in_hConfig;
    return true;
}

void OAMManagerWsJRunnable::terminate()
{
    JRunnableImpl::terminate();
    m_listeningSockets.stop();
    m_tlsServer.cutHandshakes();
}

void OAMManagerWsJRunnable::setOAMManager(const OAMManagerPtr& in_pOAMManager) { m_pOAMManager = in_pOAMManager; }

std::uint32_t OAMManagerWsJRunnable::run_i()
{
    // The level is cached here, on the running thread, and refreshed once per pass.
    CachedLLLoggingIdLogger logger(getLogger());
    logger.setLoggingId(getLogger().getLoggingId());
    TraceScope trace(logger, RUN_SCOPE);
    if (m_hConfig.isNull()) {
        LH_ERROR(logger, "Gateway Web Services were not configured");
        return RUN_FAILED;
    }
    if (m_pOAMManager.isNull()) {
        LH_ERROR(logger, "Gateway Web Services OAM was not set");
        return RUN_FAILED;
    }
    const Settings settings = readSettings(logger);
    // Before the serving threads start: they inherit it.
    confineToOAMCpus(*m_hConfig, logger, "Web service threads");

    SoapContext context;
    struct soap* const pSoap = context.get();
    soap_set_namespaces(pSoap, namespaces);
    attachTo(pSoap, this);
    pSoap->accept_timeout = soapTimeoutFromMs(settings.nBlockingTimeMs);
    pSoap->recv_timeout = pSoap->send_timeout = soapTimeoutFromMs(settings.nIoTimeoutMs);
    pSoap->bind_flags = SO_REUSEADDR;
    // A client that leaves early costs its request, not the process.
    pSoap->socket_flags = MSG_NOSIGNAL;
    refuseCompressedRequests(pSoap);
    // No answer shares data, so it is written as the tree it is: the runtime then skips its search
    // of every pointer slot for shared data on each answer, which cost more than the rest of writing it.
    soap_set_omode(pSoap, SOAP_XML_TREE);
    if (!setUpSecurity(logger, pSoap) || !bindListeningSocket(logger, pSoap, settings))
        return RUN_FAILED;
    std::optional<TlsServer::SigpipeBlocked> sigpipeBlocked;
    if (m_security.tls.enabled())
        sigpipeBlocked.emplace();
    return settings.nThreads > 1 ? serveOnThreads(logger, pSoap, settings)
                                 : serveConnections(logger, pSoap, settings.requestLimits);
}

bool OAMManagerWsJRunnable::setUpSecurity(const CachedLLLoggingIdLogger& in_logger, struct soap* io_pSoap)
{
    std::string strError;
    if (!AdminPortSecurity::read(*m_hConfig, m_security, strError)) {
        LH_ERROR(in_logger, "Gateway Web Services cannot start: " << strError);
        return false;
    }
    if (m_security.tls.enabled()) {
        if (!TlsServer::setUp(io_pSoap, m_security.tls, strError)) {
            LH_ERROR(in_logger, "Gateway Web Services cannot start: " << strError);
            return false;
        }
        LH_INFO(in_logger, "Gateway Web Services speak TLS only"
                               << (m_security.tls.strClientCaFile.empty() ? "" : ", with client certificates"));
    }
    if (!m_security.strUsersFile.empty()) {
        auto pGate = std::make_unique<BasicAuthGate>();
        if (!pGate->load(m_security.strUsersFile, strError)) {
            LH_ERROR(in_logger, "Gateway Web Services cannot start: " << strError);
            return false;
        }
        m_pAuthGate = std::move(pGate);
        LH_INFO(in_logger, "Gateway Web Services authenticate their users from " << m_security.strUsersFile);
    }
    return true;
}

std::uint32_t OAMManagerWsJRunnable::serveOnThreads(CachedLLLoggingIdLogger& io_logger, struct soap* io_pSoap,
                                                    const Settings& in_settings)
{
    // Each thread waits in a blocking accept, where the system wakes one of them for a connection
    // (a timed wait wakes every idle one); a stop shuts the listening socket down instead.
    io_pSoap->accept_timeout = 0;
    if (!m_listeningSockets.add(io_pSoap->master))
        return 0;
    std::vector<std::future<std::uint32_t>> vServers;
    for (int i = 1; i < in_settings.nThreads; ++i) {
        struct soap* const pCopy = soap_copy(io_pSoap);
        if (!pCopy) {
            LH_ERROR(io_logger, "Cannot copy the SOAP context for server thread " << i + 1);
            break;
        }
        vServers.push_back(std::async(std::launch::async, [this, pCopy, &in_settings] {
            CachedLLLoggingIdLogger logger(getLogger());
            logger.setLoggingId(getLogger().getLoggingId());
            const std::uint32_t uiResult = serveConnections(logger, pCopy, in_settings.requestLimits);
            // A socket error ends the whole run, as it does with one thread.
            if (uiResult != 0)
                terminate();
            // The listening socket is the run's own: only the copy goes.
            pCopy->master = SOAP_INVALID_SOCKET;
            soap_destroy(pCopy);
            soap_end(pCopy);
            soap_free(pCopy);
            return uiResult;
        }));
    }
    std::uint32_t uiResult = serveConnections(io_logger, io_pSoap, in_settings.requestLimits);
    if (uiResult != 0)
        terminate();
    for (std::future<std::uint32_t>& server : vServers) {
        if (server.get() != 0)
            uiResult = RUN_FAILED;
    }
    m_listeningSockets.remove(io_pSoap->master);
    return uiResult;
}

OAMManagerWsJRunnable::Settings OAMManagerWsJRunnable::readSettings(const CachedLLLoggingIdLogger& in_logger) const
{
    const ROConfiguration& config = *m_hConfig;
    Settings settings{0, 0, "", 0, {}, 1};
    if (!config.getInt(BLOCKING_TIME_KEY, settings.nBlockingTimeMs) || settings.nBlockingTimeMs < 0) {
        settings.nBlockingTimeMs = DEFAULT_BLOCKING_TIME_MS;
        LH_DEBUG(in_logger, RUN_SCOPE << " : " << BLOCKING_TIME_KEY
                                      << " parameter was not set or set to an invalid value. Using the default of "
                                      << settings.nBlockingTimeMs);
    }
    LH_DEBUG(in_logger, RUN_SCOPE << " : " << BLOCKING_TIME_KEY << " set to " << settings.nBlockingTimeMs);

    if (!config.getInt(PORT_KEY, settings.nPort) || settings.nPort < 0) {
        settings.nPort = DEFAULT_PORT;
        LH_DEBUG(in_logger, PORT_KEY << " parameter was not set or set to an invalid value. "
                                     << "Using the default of " << settings.nPort);
    }
    LH_DEBUG(in_logger, PORT_KEY << " set to " << settings.nPort);

    if (config.getString(ADDRESS_KEY, settings.strAddress))
        LH_DEBUG(in_logger, RUN_SCOPE << " : " << ADDRESS_KEY << " set to " << settings.strAddress);
    else
        LH_DEBUG(in_logger, RUN_SCOPE << " : " << ADDRESS_KEY << " parameter was not set");

    if (config.getInt(IO_TIMEOUT_KEY, settings.nIoTimeoutMs) && settings.nIoTimeoutMs > 0)
        LH_DEBUG(in_logger, RUN_SCOPE << " : " << IO_TIMEOUT_KEY << " set to " << settings.nIoTimeoutMs);
    else
        settings.nIoTimeoutMs = 0;

    int nRequestTimeoutMs = 0;
    if (config.getInt(REQUEST_TIMEOUT_KEY, nRequestTimeoutMs) && nRequestTimeoutMs > 0) {
        settings.requestLimits.timeout = std::chrono::milliseconds(nRequestTimeoutMs);
        LH_DEBUG(in_logger, RUN_SCOPE << " : " << REQUEST_TIMEOUT_KEY << " set to " << nRequestTimeoutMs);
    }
    int nMaxRequestBytes = 0;
    if (config.getInt(MAX_REQUEST_BYTES_KEY, nMaxRequestBytes) && nMaxRequestBytes > 0) {
        settings.requestLimits.ullMaxBytes = static_cast<std::uint64_t>(nMaxRequestBytes);
        LH_DEBUG(in_logger, RUN_SCOPE << " : " << MAX_REQUEST_BYTES_KEY << " set to " << nMaxRequestBytes);
    }
    if (config.getInt(THREADS_KEY, settings.nThreads) && settings.nThreads > 1)
        LH_DEBUG(in_logger, RUN_SCOPE << " : " << THREADS_KEY << " set to " << settings.nThreads);
    else
        settings.nThreads = 1;
    return settings;
}

bool OAMManagerWsJRunnable::bindListeningSocket(const CachedLLLoggingIdLogger& in_logger, struct soap* io_pSoap,
                                                const Settings& in_settings)
{
    const char* const szHost = in_settings.strAddress.empty() ? nullptr : in_settings.strAddress.c_str();
    if (!soap_valid_socket(soap_bind(io_pSoap, szHost, in_settings.nPort, LISTEN_BACKLOG))) {
        std::string strError;
        getLastSoapErrorMsg(io_pSoap, strError);
        std::ostringstream where;
        if (szHost)
            where << "Cannot bind on ip address " << in_settings.strAddress << " port " << in_settings.nPort;
        else
            where << "Cannot bind on port " << in_settings.nPort;
        LH_ERROR(in_logger, where.str() << " - Error " << strError << ". Ensure that parameter " << ADDRESS_KEY
                                        << " and parameter " << PORT_KEY << " are properly set.");
        return false;
    }
    newTaskState(Task::RUNNING_STATE);
    LH_DEBUG(in_logger, "Socket bind successful on ip address " << in_settings.strAddress << ", port "
                                                                << in_settings.nPort);
    return true;
}

std::uint32_t OAMManagerWsJRunnable::serveConnections(CachedLLLoggingIdLogger& io_logger, struct soap* io_pSoap,
                                                       const RequestBounds::Limits& in_limits)
{
    for (;;) {
        io_logger.refreshLogLevel();
        // A time-out or error of the connection served last must not read as the accept's.
        io_pSoap->errnum = 0;
        if (soap_valid_socket(soap_accept(io_pSoap))) {
            // An accept without time-out may have waited through a change of the level.
            io_logger.refreshLogLevel();
            serveConnection(io_logger, io_pSoap, in_limits);
        } else if (isTerminateRequested()) {
            return 0;
        } else if (io_pSoap->errnum != 0) {
            std::string strError;
            getLastSoapErrorMsg(io_pSoap, strError);
            LH_ERROR(io_logger, "Unexpected soap error: " << strError);
            return RUN_FAILED;
        } else {
            LH_DEBUG(io_logger, "soap_accept timed out");
        }
        if (isTerminateRequested())
            return 0;
    }
}

void OAMManagerWsJRunnable::serveConnection(CachedLLLoggingIdLogger& io_logger, struct soap* io_pSoap,
                                            const RequestBounds::Limits& in_limits)
{
    LH_DEBUG(io_logger, "Accepted IP=" << peerAddress(io_pSoap));
    RequestBounds bounds(io_pSoap, in_limits, [this] { return isTerminateRequested(); });
    std::string strReason;
    if (m_security.tls.enabled() && !m_tlsServer.accept(io_pSoap, bounds, strReason)) {
        LH_DEBUG(io_logger, "TLS handshake with IP=" << peerAddress(io_pSoap) << " failed: " << strReason);
        soap_closesock(io_pSoap);
    } else {
        const int nServeStatus = serveSoapOAMRequest(io_pSoap, &bounds, m_pAuthGate.get());
        countSoapRequest(m_pOAMManager->getTrafficCounters(), nServeStatus);
        if (nServeStatus != SOAP_OK)
            LH_DEBUG(io_logger, "soapService.serve failed");
        LH_DEBUG(io_logger, "SOAP request handled");
    }
    logBoundReached(io_logger, bounds);
    soap_destroy(io_pSoap);
    soap_end(io_pSoap);
}

void OAMManagerWsJRunnable::getLastSoapErrorMsg(struct soap* io_pSoap, std::string& out_strMsg)
{
    out_strMsg.clear();
    if (io_pSoap->error == SOAP_OK)
        return;
    const char** pszCode = soap_faultcode(io_pSoap);
    if (!pszCode || !*pszCode)
        soap_set_fault(io_pSoap);
    pszCode = soap_faultcode(io_pSoap);
    const char* const szString = soap_fault_string(io_pSoap);
    out_strMsg = std::string("Code: ") + (pszCode && *pszCode ? *pszCode : "") + " String: " + (szString ? szString : "");
    if (const char* const szDetail = soap_fault_detail(io_pSoap))
        out_strMsg += std::string(" Detail: ") + szDetail;
}

int OAMManagerWsJRunnable::failWithReason(struct soap* io_pSoap, const std::string& in_strOmName) const
{
    // A manager that is not running explains every failure, whatever the call noted.
    const SynchCallFailure failure =
        m_pOAMManager->getTaskState() == Task::RUNNING_STATE ? lastSynchCallFailure() : SynchCallFailure::NOT_QUEUED;
    std::string strReason;
    switch (failure) {
    case SynchCallFailure::NOT_QUEUED:
        strReason = "The OAM manager is not running";
        break;
    case SynchCallFailure::TIMED_OUT:
        strReason = "No answer from the OAM manager within " + std::to_string(m_wsTimeout.msec()) + " ms";
        break;
    case SynchCallFailure::NO_ANSWER:
        strReason = "The OAM manager dropped the request";
        break;
    case SynchCallFailure::NO_VALUE:
        strReason = "No such OM: " + in_strOmName;
        break;
    }
    soap_receiver_fault(io_pSoap, strReason.c_str(), nullptr);
    return -1;
}

int OAMManagerWsJRunnable::executeCommand(struct soap* io_pSoap, SoapOAM__OAMCommand* in_pCmd,
                                          SoapOAM__OAMCommandExecResult& out_result)
{
    const Logger& logger = operationsLogger();
    if (!in_pCmd) {
        LH_DEBUG(logger, "SoapOAM__executeCommand failure : null command");
        soap_sender_fault(io_pSoap, "No command", nullptr);
        return -1;
    }
    LH_DEBUG(logger, "OAM command name = " << in_pCmd->m_strName);
    const SoapOAMCommand cmd(*in_pCmd);
    const bool bChangesState = m_pOAMManager->changesState(in_pCmd->m_strName);
    const std::string strUser = userOf(io_pSoap);
    if (bChangesState && m_security.readOnlyUsers.count(strUser) > 0) {
        out_result.m_bExecSuccess = false;
        out_result.m_strStatusText = "Permission denied: " + strUser + " may not run " + in_pCmd->m_strName;
        AdminAudit::commandRan(strUser, peerAddress(io_pSoap), cmd, AdminAudit::Outcome::REFUSED);
        return 0;
    }
    SynchronousOAMCmdExecuter& executer = *m_pOAMManager;
    const bool bAnswered = executer.executeCommand(cmd, out_result, m_wsTimeout);
    if (bChangesState) {
        const bool bSucceeded = bAnswered && out_result.m_bExecSuccess;
        AdminAudit::commandRan(strUser, peerAddress(io_pSoap), cmd,
                               bSucceeded ? AdminAudit::Outcome::SUCCESS : AdminAudit::Outcome::FAILURE);
    }
    if (bAnswered)
        return 0;
    // "get-om" reads its OM on this thread: its argument is the name a missing value was asked for.
    return failWithReason(io_pSoap, cmd.getNumArg() > 0 ? cmd.getArg(0) : "");
}

std::string OAMManagerWsJRunnable::userOf(const struct soap* in_pSoap) const
{
    // Without the gate the header's user is nobody's word.
    return m_pAuthGate && in_pSoap->userid ? in_pSoap->userid : "-";
}

int OAMManagerWsJRunnable::getOM(struct soap* io_pSoap, const std::string& in_strOmName, std::string& out_strOM)
{
    ParameterValue value;
    SynchronousOMReporter& reporter = *m_pOAMManager;
    if (!reporter.getOM(in_strOmName.c_str(), value, m_wsTimeout)) {
        out_strOM.clear();
        return failWithReason(io_pSoap, in_strOmName);
    }
    std::ostringstream text;
    text << value;
    out_strOM = text.str();
    return 0;
}

int OAMManagerWsJRunnable::getPSTNChannelStatus(struct soap* io_pSoap, SoapOAM__getPSTNChannelStatusResponse& out_status)
{
    ParameterValue value;
    SynchronousOMReporter& reporter = *m_pOAMManager;
    if (!reporter.getOM(CHANNEL_STATUS_OM, value, m_wsTimeout)) {
        out_status.m_errorcode = -1;
        return failWithReason(io_pSoap, CHANNEL_STATUS_OM);
    }
    if (value.getType() != ParameterValue::STRING_TYPE) {
        out_status.m_errorcode = -1;
        soap_receiver_fault(io_pSoap, (std::string("OM ") + CHANNEL_STATUS_OM + " is not a text").c_str(), nullptr);
        return -1;
    }
    out_status.m_value = value.getText();
    out_status.m_errorcode = 0;
    return 0;
}
