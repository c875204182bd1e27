#pragma once
// The subagent's one thread, which makes every net-snmp call, since the agent library is not
// thread-safe: it sets the library up, registers the tables, serves requests and pings in
// agent_check_and_process, and sends the queued notifications while the master agent is there.
// Other threads reach it only through the alarm queue and the wake pipe that net-snmp watches.
//
// Host thread: construction, start and destruction (which stops the thread and joins it). Any
// thread: newAlarmState, which the alarm registry calls. Everything else: the subagent's thread.

#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "host/infra/AlarmRegistry.h"
#include "host/thread/ThreadChecker.h"
#include "oam/snmp/AlarmEventQueue.h"
#include "oam/snmp/NameIndexes.h"
#include "oam/snmp/SnmpSubagent.h"

class AlarmColourScalar;
class AlarmTable;
class OAMManager;
class OmTable;
class SnapshotSource;

class SubagentThread : private AlarmRegistry::Observer
{
  public:
    SubagentThread(OAMManager& io_manager, SnmpSubagent::Settings in_settings);
    ~SubagentThread() override;
    SubagentThread(const SubagentThread&) = delete;
    SubagentThread& operator=(const SubagentThread&) = delete;

    bool start(std::string& out_strError);

  private:
    void newAlarmState(const Alarm& in_alarm) override;
    void wake();

    // Tells the starter once set up: an empty text, or why it could not be.
    void run(std::promise<std::string> io_started);
    bool setUp_i(std::string& out_strError);
    void tearDown_i();
    void sendQueued_i();
    void connectionChanged_i(bool in_bConnected);

    static int onConnectionChange(int in_nMajor, int in_nMinor, void* io_pServerArg, void* io_pClientArg);
    static int onLog(int in_nMajor, int in_nMinor, void* io_pServerArg, void* io_pClientArg);
    static void onWake(int in_nFd, void* io_pThread);

    OAMManager& m_manager;
    const SnmpSubagent::Settings m_settings;
    AlarmEventQueue m_events;
    int m_aWakePipe[2] = {-1, -1};
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
    ThreadChecker m_threadChecker;

    // The subagent's thread only.
    std::unique_ptr<SnapshotSource> m_pSource;
    NameIndexes m_alarmIndexes;
    std::unique_ptr<OmTable> m_pOmTable;
    std::unique_ptr<AlarmTable> m_pAlarmTable;
    std::unique_ptr<AlarmColourScalar> m_pAlarmColour;
    bool m_bConnected = false;
    std::string m_strPersistentDir;
};
