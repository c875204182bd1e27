#include "apps/gateway/GatewayConfig.h"

#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "host/core/LinkhavenException.h"
#include "host/infra/ParameterInfoDB.h"
#include "host/infra/RWGlobalConfig.h"

namespace {
const char* const PROGRAM = "linkhaven-gateway";

// A value for every parameter that the module and the host libraries read, so that every built-in
// command works and get-config-param shows them all.
const char* const EMBEDDED_DEFAULT = R"(# The run mode, and for each mode a log4cplus properties file that set-run-mode puts in
# force (empty: the logging stays as it is).
linkhaven.run.mode=production
linkhaven.log.config.production=
linkhaven.log.config.maintenance=
linkhaven.startTimeoutSec=30
# The OAM web service; 0.0.0.0 serves other hosts too.
linkhaven.oam.webServiceIpAddress=127.0.0.1
linkhaven.oam.webServicePort=18081
linkhaven.oam.webServiceIoTimeoutMs=5000
# A whole request, read and answered, within this time; and no larger than this.
linkhaven.oam.webServiceRequestTimeoutMs=10000
linkhaven.oam.webServiceMaxRequestBytes=1048576
# Connections served at once: a slow client holds one of them, not the port.
linkhaven.oam.webServiceThreads=4
linkhaven.gw.ws.blockingTimeMs=250
# The CPUs of the OAM manager's and the web service's threads (a list such as 0-3,6; empty: any).
# Sharing one CPU, a request's hop between them needs no wake-up of another CPU.
linkhaven.oam.cpuAffinity=0
# Securing the web service (see linkhaven-gateway.conf(5)); empty, it is plain HTTP without users.
linkhaven.oam.tls.certificateFile=
linkhaven.oam.tls.keyFile=
linkhaven.oam.tls.clientCaFile=
linkhaven.oam.auth.usersFile=
linkhaven.oam.auth.allowPlaintext=false
linkhaven.oam.auth.readOnlyUsers=
# Prometheus metrics, /healthz and /readyz; remove the port (or set 0) to turn them off.
linkhaven.oam.metricsIpAddress=127.0.0.1
linkhaven.oam.metricsPort=18082
# An SNMP subagent of the master snmpd at this AgentX socket (a unix socket's path, or tcp:HOST:PORT),
# trying again each ping interval while there is none; set it empty to turn it off.
linkhaven.oam.snmp.agentxSocket=tcp:127.0.0.1:18705
linkhaven.oam.snmp.pingIntervalSec=15
linkhaven.oam.app.pythonRunnableClassName=
# The system CPU monitor; a period of 0 turns it off.
linkhaven.system.cpu.monitor.monitoringPeriodInMs=500
linkhaven.system.cpu.monitor.setAlarmThreshold=90.0
linkhaven.system.cpu.monitor.resetAlarmThreshold=80.0
linkhaven.system.cpu.monitor.averageWindowSize=15
# The simulated PSTN side, and the file of the call logger.
linkhaven.gw.pstn.spanCount=2
linkhaven.gw.pstn.channelsPerSpan=24
linkhaven.gw.callLogFile=/tmp/linkhaven-gateway-calls.log
)";

const char* const USAGE = R"(usage: linkhaven-gateway [--config FILE]... [--set KEY=VALUE]... [--log-config FILE] [--help] [--version]

Runs the demo gateway: the OAM manager with its web service, and simulated PSTN channels, until
SIGINT or SIGTERM. Try it with linkhaven-oamctl.

  --config FILE      read parameters from FILE: KEY=VALUE lines, '#' starts a comment line
  --set KEY=VALUE    set one parameter; every --set comes after every --config
  --log-config FILE  configure logging from a log4cplus properties file
                     (default: the console, at info level)
  --help             print this text
  --version          print the version

The configuration starts from these defaults:

)";

std::string trimmed(const std::string& in_strText)
{
    const std::size_t uiBegin = in_strText.find_first_not_of(" \t\r");
    if (uiBegin == std::string::npos)
        return "";
    return in_strText.substr(uiBegin, in_strText.find_last_not_of(" \t\r") - uiBegin + 1);
}

void defineGatewayParameters()
{
    ParameterInfoDB& database = ParameterInfoDB::getNonConstInstance();
    database.defineParameter(GatewayConfig::SPAN_COUNT_KEY, ParameterValue::INTEGER_TYPE, "2", false, false, false,
                             "The number of simulated PSTN spans, from 1 to 100; read at start.");
    database.defineParameter(GatewayConfig::CHANNELS_PER_SPAN_KEY, ParameterValue::INTEGER_TYPE, "24", false, false,
                             false, "The number of channels of each simulated span, from 1 to 100; read at start.");
    database.defineParameter(GatewayConfig::CALL_LOG_FILE_KEY, ParameterValue::STRING_TYPE, nullptr, false, false,
                             false, "The file that the call logger appends to; read at start.");
}

// Applies KEY=VALUE texts to the process-wide configuration, refusing names it does not know.
class Assignments
{
  public:
    Assignments()
    {
        std::istringstream lines(EMBEDDED_DEFAULT);
        for (std::string strLine; std::getline(lines, strLine);) {
            if (!strLine.empty() && strLine[0] != '#')
                m_knownNames.insert(strLine.substr(0, strLine.find('=')));
        }
    }

    bool apply(const std::string& in_strAssignment, std::string& out_strError) const
    {
        const std::size_t uiEqual = in_strAssignment.find('=');
        const std::string strName = trimmed(in_strAssignment.substr(0, uiEqual));
        if (uiEqual == std::string::npos || strName.empty()) {
            out_strError = "expected KEY=VALUE, not " + in_strAssignment;
            return false;
        }
        ParameterInfo info;
        if (m_knownNames.count(strName) == 0 && !ParameterInfoDB::getInstance().getParameterInfo(strName, info)) {
            out_strError = "unknown parameter " + strName;
            return false;
        }
        const std::string strText = trimmed(in_strAssignment.substr(uiEqual + 1));
        ParameterValue value;
        value.initFromText(strText.c_str(), ParameterValue::NO_VALUE_TYPE, true);
        if (!RWGlobalConfig::getInstance()->setValue(strName, value)) {
            out_strError = "invalid value \"" + strText + "\" for parameter " + strName;
            return false;
        }
        return true;
    }

    // The lines of a text, skipping blank lines and comments; the error names the line.
    bool applyLines(std::istream& io_lines, const std::string& in_strWhere, std::string& out_strError) const
    {
        unsigned uiLine = 0;
        for (std::string strLine; std::getline(io_lines, strLine);) {
            ++uiLine;
            const std::string strText = trimmed(strLine);
            if (strText.empty() || strText[0] == '#' || apply(strText, out_strError))
                continue;
            out_strError = in_strWhere + ":" + std::to_string(uiLine) + ": " + out_strError;
            return false;
        }
        return true;
    }

  private:
    std::set<std::string> m_knownNames;
};

bool checkRange(const char* in_szName, int in_nMin, int in_nMax, std::string& out_strError)
{
    int nValue = 0;
    if (RWGlobalConfig::getInstance()->getInt(in_szName, nValue) && nValue >= in_nMin && nValue <= in_nMax)
        return true;
    out_strError = std::string("parameter ") + in_szName + " must be from " + std::to_string(in_nMin) + " to " +
                   std::to_string(in_nMax);
    return false;
}

bool checkValues(std::string& out_strError)
{
    std::string strMode;
    RWGlobalConfig::getInstance()->getString("linkhaven.run.mode", strMode);
    if (parseRunModeString(strMode) == NO_RUN_MODE) {
        out_strError = "invalid run mode " + strMode + ": production or maintenance";
        return false;
    }
    return checkRange("linkhaven.oam.webServicePort", 1, 65535, out_strError) &&
           checkRange("linkhaven.oam.metricsPort", 0, 65535, out_strError) &&
           checkRange(GatewayConfig::SPAN_COUNT_KEY, 1, 100, out_strError) &&
           checkRange(GatewayConfig::CHANNELS_PER_SPAN_KEY, 1, 100, out_strError);
}
} // namespace

std::optional<int> GatewayConfig::load(int in_nArgc, const char* const* in_pArgv, std::ostream& io_out,
                                       std::ostream& io_err)
{
    std::string strText, strError;
    try {
        defineGatewayParameters();
    } catch (const LinkhavenException& exception) {
        io_err << PROGRAM << ": " << exception.what() << std::endl;
        return 2;
    }
    if (!load(in_nArgc, in_pArgv, strText, strError)) {
        io_err << PROGRAM << ": " << strError << " (see --help)" << std::endl;
        return 2;
    }
    if (!strText.empty()) {
        io_out << strText;
        return 0;
    }
    return std::nullopt;
}

bool GatewayConfig::load(int in_nArgc, const char* const* in_pArgv, std::string& out_strText, std::string& out_strError)
{
    std::vector<std::string> vConfigFiles, vAssignments;
    m_strLogConfigPath.clear();
    for (int i = 1; i < in_nArgc; ++i) {
        const std::string strOption = in_pArgv[i];
        if (strOption == "--help" || strOption == "--version") {
            out_strText = strOption == "--help" ? std::string(USAGE) + EMBEDDED_DEFAULT
                                                : std::string(PROGRAM) + " " + LINKHAVEN_VERSION + "\n";
            continue;
        }
        if (strOption != "--config" && strOption != "--set" && strOption != "--log-config") {
            out_strError = "unknown option " + strOption;
            return false;
        }
        if (i + 1 == in_nArgc) {
            out_strError = strOption + " needs an argument";
            return false;
        }
        const std::string strArgument = in_pArgv[++i];
        if (strOption == "--config")
            vConfigFiles.push_back(strArgument);
        else if (strOption == "--set")
            vAssignments.push_back(strArgument);
        else
            m_strLogConfigPath = strArgument;
    }
    if (!out_strText.empty())
        return true;

    const Assignments assignments;
    std::istringstream defaults(EMBEDDED_DEFAULT);
    if (!assignments.applyLines(defaults, "the embedded default", out_strError))
        return false;
    for (const std::string& strPath : vConfigFiles) {
        std::ifstream file(strPath);
        if (!file) {
            out_strError = "cannot read configuration file " + strPath;
            return false;
        }
        if (!assignments.applyLines(file, strPath, out_strError))
            return false;
    }
    for (const std::string& strAssignment : vAssignments) {
        if (!assignments.apply(strAssignment, out_strError))
            return false;
    }
    if (!m_strLogConfigPath.empty() && !std::ifstream(m_strLogConfigPath)) {
        out_strError = "cannot read log configuration file " + m_strLogConfigPath;
        return false;
    }
    return checkValues(out_strError);
}
