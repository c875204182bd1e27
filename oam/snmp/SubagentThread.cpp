#include "oam/snmp/SubagentThread.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <utility>

#include "host/core/AceCleanupLogger.h"
#include "oam/snmp/AlarmColourScalar.h"
#include "oam/snmp/AlarmTable.h"
#include "oam/snmp/DateAndTime.h"
#include "oam/snmp/NetSnmp.h"
#include "oam/snmp/OamMib.h"
#include "oam/snmp/OmTable.h"
#include "oam/snmp/SetString.h"
#include "oam/snmp/SnapshotSource.h"

namespace {
const char* const APPLICATION = "linkhaven-oam";
// Notifications kept while the master agent is away: minutes of a span flapping.
const std::size_t MAX_QUEUED_NOTIFICATIONS = 1000;

const Logger& snmpLogger() { return AceCleanupLogger::get("linkhaven.oam.snmp"); }

void addOctets(netsnmp_variable_list** io_ppVars, const oid* in_pEntry, std::size_t in_uiEntryLength,
               unsigned in_uiColumn, std::uint32_t in_uiIndex, const std::string& in_strValue)
{
    std::vector<oid> vOid(in_pEntry, in_pEntry + in_uiEntryLength);
    vOid.push_back(in_uiColumn);
    vOid.push_back(in_uiIndex);
    netsnmp_variable_list* const pVar =
        snmp_varlist_add_variable(io_ppVars, vOid.data(), vOid.size(), ASN_OCTET_STR, nullptr, 0);
    if (pVar != nullptr)
        setDisplayString(pVar, in_strValue);
}
} // namespace

SubagentThread::SubagentThread(OAMManager& io_manager, SnmpSubagent::Settings in_settings)
    : m_manager(io_manager), m_settings(std::move(in_settings)), m_events(MAX_QUEUED_NOTIFICATIONS)
{
}

SubagentThread::~SubagentThread()
{
    AlarmRegistry::getInstance().removeObserver(this);
    if (m_thread.joinable()) {
        m_bStop.store(true, std::memory_order_release);
        wake();
        m_thread.join();
    }
    for (const int nFd : m_aWakePipe) {
        if (nFd >= 0)
            ::close(nFd);
    }
}

bool SubagentThread::start(std::string& out_strError)
{
    if (::pipe2(m_aWakePipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        out_strError = "the SNMP subagent cannot make its wake pipe";
        return false;
    }
    // Before the thread exists: no raise or clear from then on is missed.
    AlarmRegistry::getInstance().addObserver(this);
    std::promise<std::string> started;
    std::future<std::string> startedFuture = started.get_future();
    m_thread = std::thread([this](std::promise<std::string> io_started) { run(std::move(io_started)); }, std::move(started));
    out_strError = startedFuture.get();
    return out_strError.empty();
}

void SubagentThread::newAlarmState(const Alarm& in_alarm)
{
    std::ostringstream name;
    in_alarm.writeIdentifier(name);
    if (m_events.push({name.str(), in_alarm.getDescription(), in_alarm.getState() == Alarm::RAISED_STATE,
                       std::chrono::system_clock::now()}))
        wake();
}

void SubagentThread::wake()
{
    const char cByte = 0;
    // A full pipe has a wake-up on its way already.
    while (::write(m_aWakePipe[1], &cByte, 1) < 0 && errno == EINTR) {
    }
}

void SubagentThread::run(std::promise<std::string> io_started)
{
    m_threadChecker.bindToCurrentThread();
    // A master that goes away under a write must give EPIPE on this thread, not end the process;
    // the process's own handling of SIGPIPE stays as the host set it.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);

    std::string strError;
    const bool bSetUp = setUp_i(strError);
    io_started.set_value(strError);
    while (bSetUp && !m_bStop.load(std::memory_order_acquire)) {
        agent_check_and_process(1);
        sendQueued_i();
    }
    tearDown_i();
    m_threadChecker.release();
}

bool SubagentThread::setUp_i(std::string& out_strError)
{
    LH_CHECK_THREAD(m_threadChecker);
    // The library's messages go to our log, not to the process's standard error.
    snmp_disable_log();
    netsnmp_register_loghandler(NETSNMP_LOGHANDLER_CALLBACK, LOG_DEBUG);
    snmp_register_callback(SNMP_CALLBACK_LIBRARY, SNMP_CALLBACK_LOGGING, &SubagentThread::onLog, this);

    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 1);
    netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_X_SOCKET, m_settings.strAgentxSocket.c_str());
    // No configuration files, no MIB files (the subagent answers by number), no persistent state.
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_set_mib_directory("");
    netsnmp_config_remember(const_cast<char*>("mibs :"));
    // The library still makes a folder of certificate indexes in its persistent directory, which
    // would be the system snmpd's: it gets a private one instead, gone again at shutdown.
    char szPersistentDir[] = "/tmp/linkhaven-snmp-XXXXXX";
    if (::mkdtemp(szPersistentDir) == nullptr) {
        out_strError = std::string("the SNMP subagent cannot make its folder in /tmp: ") + std::strerror(errno);
        return false;
    }
    m_strPersistentDir = szPersistentDir;
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, szPersistentDir);
    if (init_agent(APPLICATION) != 0) {
        out_strError = "the SNMP subagent could not set up net-snmp's agent library";
        return false;
    }
    // init_agent resets the interval; the first attempt to connect, in init_snmp, reads it.
    netsnmp_ds_set_int(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_AGENTX_PING_INTERVAL, m_settings.nPingIntervalSec);

    m_pSource = std::make_unique<SnapshotSource>(m_manager);
    m_pOmTable = std::make_unique<OmTable>(*m_pSource);
    m_pAlarmTable = std::make_unique<AlarmTable>(*m_pSource, m_alarmIndexes);
    m_pAlarmColour = std::make_unique<AlarmColourScalar>(*m_pSource);
    if (!m_pOmTable->registerTable() || !m_pAlarmTable->registerTable() || !m_pAlarmColour->registerScalar()) {
        out_strError = "the SNMP subagent could not register LINKHAVEN-OAM-MIB";
        return false;
    }
    snmp_register_callback(SNMP_CALLBACK_APPLICATION, SNMPD_CALLBACK_INDEX_START, &SubagentThread::onConnectionChange,
                           this);
    snmp_register_callback(SNMP_CALLBACK_APPLICATION, SNMPD_CALLBACK_INDEX_STOP, &SubagentThread::onConnectionChange,
                           this);
    register_readfd(m_aWakePipe[0], &SubagentThread::onWake, this);
    init_snmp(APPLICATION);
    if (!m_bConnected)
        LH_INFO(snmpLogger(), "SNMP: no AgentX master at " << m_settings.strAgentxSocket << " yet; trying every "
                                                           << m_settings.nPingIntervalSec << " s");
    return true;
}

void SubagentThread::tearDown_i()
{
    LH_CHECK_THREAD(m_threadChecker);
    // snmp_shutdown frees the arguments of callbacks still registered, and this object is not its to free.
    unregister_readfd(m_aWakePipe[0]);
    snmp_unregister_callback(SNMP_CALLBACK_APPLICATION, SNMPD_CALLBACK_INDEX_START, &SubagentThread::onConnectionChange,
                             this, 1);
    snmp_unregister_callback(SNMP_CALLBACK_APPLICATION, SNMPD_CALLBACK_INDEX_STOP, &SubagentThread::onConnectionChange,
                             this, 1);
    m_pAlarmColour.reset();
    m_pAlarmTable.reset();
    m_pOmTable.reset();
    m_pSource.reset();
    snmp_unregister_callback(SNMP_CALLBACK_LIBRARY, SNMP_CALLBACK_LOGGING, &SubagentThread::onLog, this, 1);
    snmp_shutdown(APPLICATION);
    if (!m_strPersistentDir.empty()) {
        std::error_code error;
        std::filesystem::remove_all(m_strPersistentDir, error);
    }
}

void SubagentThread::sendQueued_i()
{
    LH_CHECK_THREAD(m_threadChecker);
    if (!m_bConnected)
        return;
    static const oid SNMP_TRAP_OID[] = {1, 3, 6, 1, 6, 3, 1, 1, 4, 1, 0};
    std::deque<AlarmEventQueue::Event> events = m_events.takeAll();
    if (events.empty())
        return;
    // The alarms that the table has not listed yet take their indexes in the order of definition,
    // as the table would give them, rather than in the order they happened to be notified.
    AlarmRegistry::AlarmVector vAlarms;
    AlarmRegistry::getInstance().getAllAlarms(vAlarms);
    for (const auto& pAlarm : vAlarms)
        m_alarmIndexes.indexOf(pAlarm->getName());
    for (const AlarmEventQueue::Event& event : events) {
        const oid* const pNotification = event.bRaised ? OamMib::ALARM_RAISED : OamMib::ALARM_CLEARED;
        netsnmp_variable_list* pVars = nullptr;
        snmp_varlist_add_variable(&pVars, SNMP_TRAP_OID, OID_LENGTH(SNMP_TRAP_OID), ASN_OBJECT_ID,
                                  reinterpret_cast<const u_char*>(pNotification), sizeof OamMib::ALARM_RAISED);
        const std::uint32_t uiIndex = m_alarmIndexes.indexOf(event.strName);
        const std::size_t uiEntryLength = OID_LENGTH(OamMib::ALARM_ENTRY);
        addOctets(&pVars, OamMib::ALARM_ENTRY, uiEntryLength, OamMib::ALARM_NAME, uiIndex, event.strName);
        addOctets(&pVars, OamMib::ALARM_ENTRY, uiEntryLength, OamMib::ALARM_DESCRIPTION, uiIndex, event.strDescription);
        addOctets(&pVars, OamMib::ALARM_ENTRY, uiEntryLength, OamMib::ALARM_EVENT_TIME, uiIndex,
                  encodeDateAndTime(event.time));
        send_v2trap(pVars);
        snmp_free_varbind(pVars);
    }
}

void SubagentThread::connectionChanged_i(bool in_bConnected)
{
    LH_CHECK_THREAD(m_threadChecker);
    if (in_bConnected == m_bConnected)
        return;
    m_bConnected = in_bConnected;
    if (in_bConnected)
        LH_INFO(snmpLogger(), "SNMP: subagent connected to the AgentX master at " << m_settings.strAgentxSocket);
    else
        LH_WARN(snmpLogger(), "SNMP: the AgentX master at " << m_settings.strAgentxSocket << " went away; trying every "
                                                            << m_settings.nPingIntervalSec << " s");
}

int SubagentThread::onConnectionChange(int, int in_nMinor, void*, void* io_pClientArg)
{
    static_cast<SubagentThread*>(io_pClientArg)->connectionChanged_i(in_nMinor == SNMPD_CALLBACK_INDEX_START);
    return SNMPERR_SUCCESS;
}

int SubagentThread::onLog(int, int, void* io_pServerArg, void*)
{
    const auto* const pMessage = static_cast<const snmp_log_message*>(io_pServerArg);
    std::string strText = pMessage->msg != nullptr ? pMessage->msg : "";
    while (!strText.empty() && strText.back() == '\n')
        strText.pop_back();
    LH_DEBUG(AceCleanupLogger::get("linkhaven.oam.snmp.netsnmp"), strText);
    return SNMPERR_SUCCESS;
}

void SubagentThread::onWake(int in_nFd, void*)
{
    char aBuffer[64];
    while (::read(in_nFd, aBuffer, sizeof aBuffer) > 0) {
    }
}
