#include "oam/snmp/SnmpSubagent.h"

#include "host/infra/ROConfiguration.h"
#include "oam/snmp/SubagentThread.h"

bool SnmpSubagent::readSettings(const ROConfiguration& in_config, Settings& out_settings)
{
    if (!in_config.getString(AGENTX_SOCKET_KEY, out_settings.strAgentxSocket) || out_settings.strAgentxSocket.empty())
        return false;
    int nPingIntervalSec = 0;
    if (in_config.getInt(PING_INTERVAL_KEY, nPingIntervalSec) && nPingIntervalSec > 0)
        out_settings.nPingIntervalSec = nPingIntervalSec;
    return true;
}

SnmpSubagent::SnmpSubagent(OAMManager& io_manager) : m_manager(io_manager) {}

SnmpSubagent::~SnmpSubagent() = default;

bool SnmpSubagent::start(const Settings& in_settings, std::string& out_strError)
{
    m_pThread = std::make_unique<SubagentThread>(m_manager, in_settings);
    if (m_pThread->start(out_strError))
        return true;
    m_pThread.reset();
    return false;
}
