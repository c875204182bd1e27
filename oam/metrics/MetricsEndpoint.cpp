#include "oam/metrics/MetricsEndpoint.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include <CivetServer.h>
#include <prometheus/exposer.h>

#include "host/infra/ROConfiguration.h"
#include "oam/manager/OAMManager.h"
#include "oam/metrics/OAMMetricsCollectable.h"

namespace {
// A scrape waits for the manager no longer than the web service waits for an answer.
const ACE_Time_Value SCRAPE_TIMEOUT(0, 250000);

// The civetweb callbacks carry no pointer of ours: the endpoint is found by the port that the
// request came in on. Held while a readiness request reads an endpoint, so that none goes under it.
std::mutex g_mutexEndpoints;
std::map<int, const MetricsEndpoint*> g_endpointsByPort;

int answer(mg_connection* io_pConnection, int in_nStatus, const std::string& in_strBody)
{
    mg_printf(io_pConnection,
              "HTTP/1.1 %d %s\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: %zu\r\n"
              "Connection: close\r\n\r\n%s",
              in_nStatus, in_nStatus == 200 ? "OK" : "Service Unavailable", in_strBody.size(), in_strBody.c_str());
    return in_nStatus;
}

// One connection to the listener, closed at once; a wildcard address is reached on loopback.
void knock(std::string in_strAddress, int in_nPort)
{
    if (in_strAddress == "0.0.0.0")
        in_strAddress = "127.0.0.1";
    else if (in_strAddress == "::" || in_strAddress == "[::]")
        in_strAddress = "::1";
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* pFound = nullptr;
    if (::getaddrinfo(in_strAddress.c_str(), std::to_string(in_nPort).c_str(), &hints, &pFound) != 0)
        return;
    const int nSocket = ::socket(pFound->ai_family, pFound->ai_socktype | SOCK_CLOEXEC, 0);
    if (nSocket >= 0) {
        ::connect(nSocket, pFound->ai_addr, pFound->ai_addrlen);
        ::close(nSocket);
    }
    ::freeaddrinfo(pFound);
}

std::string listeningPort(const MetricsEndpoint::Settings& in_settings)
{
    const std::string strPort = std::to_string(in_settings.nPort);
    if (in_settings.strAddress.find(':') != std::string::npos)
        return "[" + in_settings.strAddress + "]:" + strPort;
    return in_settings.strAddress + ":" + strPort;
}
} // namespace

bool MetricsEndpoint::readSettings(const ROConfiguration& in_config, Settings& out_settings)
{
    if (!in_config.getInt(PORT_KEY, out_settings.nPort) || out_settings.nPort <= 0)
        return false;
    if (!in_config.getString(ADDRESS_KEY, out_settings.strAddress) || out_settings.strAddress.empty())
        out_settings.strAddress = "127.0.0.1";
    return true;
}

MetricsEndpoint::MetricsEndpoint(OAMManager& io_manager, std::function<bool()> in_isWebServiceBound)
    : m_manager(io_manager), m_isWebServiceBound(std::move(in_isWebServiceBound)),
      m_pCollectable(std::make_shared<OAMMetricsCollectable>(io_manager, SCRAPE_TIMEOUT))
{
}

MetricsEndpoint::~MetricsEndpoint()
{
    {
        std::lock_guard<std::mutex> lock(g_mutexEndpoints);
        g_endpointsByPort.erase(m_nPort);
    }
    if (!m_pExposer)
        return;
    // CivetWeb's listener looks at its stop flag only between waits of up to two seconds: knocking
    // while it stops wakes it, so that a gateway's stop does not wait for the rest of such a wait.
    std::atomic<bool> bStopped{false};
    std::thread knocker([this, &bStopped] {
        while (!bStopped.load(std::memory_order_acquire)) {
            knock(m_strAddress, m_nPort);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    m_pExposer.reset();
    bStopped.store(true, std::memory_order_release);
    knocker.join();
}

bool MetricsEndpoint::start(const Settings& in_settings, std::string& out_strError)
{
    CivetCallbacks callbacks;
    callbacks.begin_request = &MetricsEndpoint::beginRequest;
    try {
        m_pExposer = std::make_unique<prometheus::Exposer>(
            std::vector<std::string>{"listening_ports", listeningPort(in_settings), "num_threads", "4",
                                     "request_timeout_ms", "5000"},
            &callbacks);
    } catch (const std::exception& exception) {
        out_strError = "the metrics endpoint cannot listen on " + in_settings.strAddress + " port " +
                       std::to_string(in_settings.nPort) + " (" + exception.what() + "); see parameters " +
                       PORT_KEY + " and " + ADDRESS_KEY;
        return false;
    }
    m_pExposer->RegisterCollectable(m_pCollectable);
    m_nPort = m_pExposer->GetListeningPorts().at(0);
    m_strAddress = in_settings.strAddress;
    std::lock_guard<std::mutex> lock(g_mutexEndpoints);
    g_endpointsByPort[m_nPort] = this;
    return true;
}

std::string MetricsEndpoint::notReadyReason() const
{
    if (m_manager.getTaskState() != Task::RUNNING_STATE)
        return "the OAM manager is not running";
    if (!m_isWebServiceBound())
        return "the OAM web service is not bound";
    return "";
}

int MetricsEndpoint::beginRequest(mg_connection* io_pConnection)
{
    const mg_request_info* const pInfo = mg_get_request_info(io_pConnection);
    const std::string strUri = pInfo->local_uri ? pInfo->local_uri : "";
    if (strUri == "/healthz")
        return answer(io_pConnection, 200, "ok\n");
    if (strUri != "/readyz")
        return 0;
    std::string strReason;
    {
        std::lock_guard<std::mutex> lock(g_mutexEndpoints);
        const auto found = g_endpointsByPort.find(pInfo->server_port);
        strReason = found == g_endpointsByPort.end() ? "the metrics endpoint is starting" : found->second->notReadyReason();
    }
    return strReason.empty() ? answer(io_pConnection, 200, "ready\n") : answer(io_pConnection, 503, strReason + "\n");
}
