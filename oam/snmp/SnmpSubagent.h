#pragma once
// The SNMP subagent: publishes every OM, the alarm table and the alarm colour of LINKHAVEN-OAM-MIB
// through a master snmpd over AgentX, and sends a notification for every raise and clear of an
// alarm. Opt-in: without an AgentX socket configured nothing of it exists. It runs on a thread of
// its own, reads the manager only through its snapshot, connects whenever the master is there (at
// start, or each ping interval after) and queues notifications while it is not.
//
// Host thread: construction, start and destruction, which stops the thread and waits for it. One
// subagent per process: net-snmp's agent library is one per process. The manager must outlive it.

#include <memory>
#include <string>

class OAMManager;
class ROConfiguration;
class SubagentThread;

class SnmpSubagent
{
  public:
    static constexpr const char* AGENTX_SOCKET_KEY = "linkhaven.oam.snmp.agentxSocket";
    static constexpr const char* PING_INTERVAL_KEY = "linkhaven.oam.snmp.pingIntervalSec";

    struct Settings
    {
        // As net-snmp's agentXSocket: "tcp:127.0.0.1:705", or the path of a unix socket.
        std::string strAgentxSocket;
        int nPingIntervalSec = 15;
    };
    // False when no AgentX socket is configured (absent or empty): then there is no subagent.
    static bool readSettings(const ROConfiguration& in_config, Settings& out_settings);

    explicit SnmpSubagent(OAMManager& io_manager);
    ~SnmpSubagent();
    SnmpSubagent(const SnmpSubagent&) = delete;
    SnmpSubagent& operator=(const SnmpSubagent&) = delete;

    // Returns once net-snmp is set up on the subagent's thread, connected or not; false with a
    // one-line reason when it could not be.
    bool start(const Settings& in_settings, std::string& out_strError);

  private:
    OAMManager& m_manager;
    std::unique_ptr<SubagentThread> m_pThread;
};
