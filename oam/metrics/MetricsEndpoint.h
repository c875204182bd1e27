#pragma once
// The metrics endpoint: a listener of its own, with its own threads, that serves /metrics in the
// Prometheus text format, /healthz (200 while the process serves) and /readyz (200 while the
// manager runs and the web service is bound, else 503 with the reason). A scrape reads the
// manager through one snapshot; health never asks a task.
//
// Host thread: construction, start and destruction, which stops the listener and waits for its
// threads. The manager must outlive the endpoint.

#include <functional>
#include <memory>
#include <string>

struct mg_connection;
namespace prometheus {
class Exposer;
}
class OAMManager;
class OAMMetricsCollectable;
class ROConfiguration;

class MetricsEndpoint
{
  public:
    static constexpr const char* PORT_KEY = "linkhaven.oam.metricsPort";
    static constexpr const char* ADDRESS_KEY = "linkhaven.oam.metricsIpAddress";

    struct Settings
    {
        std::string strAddress;
        int nPort = 0;
    };
    // False when no port is configured (absent or 0): then nothing is to listen.
    static bool readSettings(const ROConfiguration& in_config, Settings& out_settings);

    // in_isWebServiceBound is asked on the endpoint's threads, at each readiness request.
    MetricsEndpoint(OAMManager& io_manager, std::function<bool()> in_isWebServiceBound);
    ~MetricsEndpoint();
    MetricsEndpoint(const MetricsEndpoint&) = delete;
    MetricsEndpoint& operator=(const MetricsEndpoint&) = delete;

    // False with a one-line reason when it cannot listen. Port 0 picks a free one.
    bool start(const Settings& in_settings, std::string& out_strError);
    // The port it listens on; 0 before start.
    int getPort() const { return m_nPort; }

    // Empty when ready. Any thread.
    std::string notReadyReason() const;

  private:
    static int beginRequest(mg_connection* io_pConnection);

    OAMManager& m_manager;
    const std::function<bool()> m_isWebServiceBound;
    // Held here; the exposer keeps only a weak pointer, and goes first.
    std::shared_ptr<OAMMetricsCollectable> m_pCollectable;
    std::unique_ptr<prometheus::Exposer> m_pExposer;
    int m_nPort = 0;
    std::string m_strAddress;
};
