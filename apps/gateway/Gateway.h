#pragma once
// The host: it builds the OAM manager and the gateway's components, sets the manager up (built,
// initialized, named, the components registered), then starts the components, the manager and
// the web service on a thread of its own; it stops them in the reverse order.
//
// Host thread only, but for the stop request that the web-service thread makes when it ends by
// itself.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <ace/Time_Value.h>

#include "host/thread/CountedObjPtr.h"
#include "host/thread/JRunnable.h"

class ChannelCommandExecuter;
class ListOMsCmdExecuter;
class ManageableTask;
class MetricsEndpoint;
class ChannelStatusReporter;
class OAMManager;
class OAMManagerWsJRunnable;
class OMTaskManager;
class PstnChannelComponent;
class SnmpSubagent;
class StopRequest;

class Gateway : private JRunnable::RunningObserver
{
  public:
    // Reads the channel layout from the process-wide configuration, which is loaded by now. The
    // stop request is made when the web service ends by itself.
    explicit Gateway(StopRequest& io_stopRequest);
    ~Gateway() override;
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;

    // False with a one-line reason when a part did not start or the web service could not serve;
    // what had started is stopped again.
    bool start(std::string& out_strError);
    // Stops what runs, in order, and releases everything. Again after that, it does nothing.
    void stop();

  private:
    template <class T>
    using SharedTask = CountedObjPtr<T, TSReferenceCount, DeleteCountedObjDeleter<T>>;

    // On the web-service thread.
    void newTaskState(JRunnable& io_runnable, Task::State in_state) override;
    void configureCallLogger();
    // In the order they start.
    std::vector<ManageableTask*> components() const;
    // Before any thread of the gateway runs: initializing the manager makes the loggers "linkhaven"
    // and "admin", and the logging library links them into its tree unlocked for the threads
    // that log below them.
    void setUpManager();
    bool startComponents(std::string& out_strError);
    bool startManager(std::string& out_strError);
    bool startWebService(std::string& out_strError);
    // Only with a metrics port configured; before the manager, so that readiness says it is not yet.
    bool startMetrics(std::string& out_strError);
    // On the metrics endpoint's threads.
    bool isWebServiceBound();
    // Only with an AgentX socket configured; before any other thread of the gateway runs, since
    // net-snmp's set-up sets the process's LC_CTYPE.
    bool startSnmp(std::string& out_strError);

    StopRequest& m_stopRequest;
    const ACE_Time_Value m_startTimeout;

    // Released in the reverse order: the SNMP subagent, the metrics endpoint, the web service, the task manager (which
    // stops watching the components as it goes), the manager (stopped before the task manager,
    // released after it, since list-oms reads it), the components.
    std::unique_ptr<PstnChannelComponent> m_pChannels;
    SharedTask<ChannelCommandExecuter> m_pChannelCommands;
    SharedTask<ChannelStatusReporter> m_pChannelStatus;
    // With the metrics endpoint only.
    SharedTask<ListOMsCmdExecuter> m_pListOMs;
    SharedTask<OMTaskManager> m_pTaskManager;
    SharedTask<OAMManager> m_pManager;
    std::unique_ptr<OAMManagerWsJRunnable> m_pWebService;
    std::thread m_webServiceThread;
    std::unique_ptr<MetricsEndpoint> m_pMetrics;
    std::unique_ptr<SnmpSubagent> m_pSnmp;

    std::mutex m_mutexWebService;
    std::condition_variable m_condWebService;
    Task::State m_webServiceState = Task::STARTING_STATE;
};
