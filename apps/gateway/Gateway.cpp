#include "apps/gateway/Gateway.h"

#include "apps/gateway/ChannelCommandExecuter.h"
#include "apps/gateway/ChannelStatusReporter.h"
#include "apps/gateway/GatewayConfig.h"
#include "apps/gateway/PstnChannelComponent.h"
#include "apps/gateway/StopRequest.h"
#include "host/core/AceCleanupLogger.h"
#include "host/infra/CallLogger.h"
#include "host/infra/GlobalConfig.h"
#include "oam/manager/OAMManager.h"
#include "oam/metrics/ListOMsCmdExecuter.h"
#include "oam/metrics/MetricsEndpoint.h"
#include "oam/om/OMTaskManager.h"
#include "oam/snmp/SnmpSubagent.h"
#include "oam/soap/OAMManagerWsJRunnable.h"

namespace {
const Logger& gatewayLogger() { return AceCleanupLogger::get("linkhaven.gw.Gateway"); }

// Values the configuration has checked by now.
int configuredInt(const char* in_szName)
{
    int nValue = 0;
    GlobalConfig::getInstance()->getInt(in_szName, nValue);
    return nValue;
}

std::string configuredString(const char* in_szName)
{
    std::string strValue;
    GlobalConfig::getInstance()->getString(in_szName, strValue);
    return strValue;
}
} // namespace

Gateway::Gateway(StopRequest& io_stopRequest)
    : m_stopRequest(io_stopRequest), m_startTimeout(configuredInt("linkhaven.startTimeoutSec"))
{
    const unsigned uiSpanCount = configuredInt(GatewayConfig::SPAN_COUNT_KEY);
    m_pChannels = std::make_unique<PstnChannelComponent>(uiSpanCount, configuredInt(GatewayConfig::CHANNELS_PER_SPAN_KEY));
    m_pChannelCommands = SharedTask<ChannelCommandExecuter>(new ChannelCommandExecuter(*m_pChannels, uiSpanCount));
    m_pChannelStatus = SharedTask<ChannelStatusReporter>(new ChannelStatusReporter(*m_pChannels, uiSpanCount));
    m_pTaskManager = SharedTask<OMTaskManager>(new OMTaskManager("GatewayTaskManager"));
}

Gateway::~Gateway() { stop(); }

bool Gateway::start(std::string& out_strError)
{
    configureCallLogger();
    setUpManager();
    if (startSnmp(out_strError) && startComponents(out_strError) && startMetrics(out_strError) && startManager(out_strError) &&
        startWebService(out_strError)) {
        LH_INFO(gatewayLogger(), "Gateway started: OAM web service on "
                                     << configuredString("linkhaven.oam.webServiceIpAddress") << " port "
                                     << configuredInt("linkhaven.oam.webServicePort") << ", "
                                     << configuredInt(GatewayConfig::SPAN_COUNT_KEY)
                                     << (configuredInt(GatewayConfig::SPAN_COUNT_KEY) == 1 ? " span of " : " spans of ")
                                     << configuredInt(GatewayConfig::CHANNELS_PER_SPAN_KEY) << " channels");
        return true;
    }
    stop();
    return false;
}

void Gateway::stop()
{
    m_pSnmp.reset();
    m_pMetrics.reset();
    if (m_pWebService) {
        m_pWebService->terminate();
        m_webServiceThread.join();
        m_pWebService.reset();
    }
    if (!m_pManager.isNull()) {
        m_pManager->stop();
        m_pManager->waitUntilDone();
    }
    if (!m_pTaskManager.isNull()) {
        // Returns once every component's thread has ended.
        m_pTaskManager->stopKillExit(m_startTimeout);
        m_pTaskManager.reset();
    }
    // Only now: a list-oms still running on its component's thread reads the manager.
    m_pManager.reset();
    m_pListOMs.reset();
    m_pChannelStatus.reset();
    m_pChannelCommands.reset();
    m_pChannels.reset();
    CallLogger::close();
}

void Gateway::newTaskState(JRunnable&, Task::State in_state)
{
    {
        std::lock_guard<std::mutex> lock(m_mutexWebService);
        m_webServiceState = in_state;
        m_condWebService.notify_all();
    }
    if (in_state == Task::STOPPED_STATE)
        m_stopRequest.request("the OAM web service has stopped");
}

void Gateway::configureCallLogger()
{
    const std::string strPath = configuredString(GatewayConfig::CALL_LOG_FILE_KEY);
    if (!CallLogger::configure(strPath))
        LH_WARN(gatewayLogger(), "No call logger: cannot open " << strPath);
}

std::vector<ManageableTask*> Gateway::components() const
{
    std::vector<ManageableTask*> vComponents{m_pChannels.get(), m_pChannelCommands.get(), m_pChannelStatus.get()};
    if (!m_pListOMs.isNull())
        vComponents.push_back(m_pListOMs.get());
    return vComponents;
}

void Gateway::setUpManager()
{
    m_pManager = SharedTask<OAMManager>(new OAMManager());
    m_pManager->initialize(GlobalConfig::getInstance());
    m_pManager->setTaskName("OAMManager");
    m_pManager->addCmdExecuter(OAMManager::ChildExecuterPtr(m_pChannelCommands));
    m_pManager->addOMReporter(OAMManager::OMReporterPtr(m_pChannelStatus));
    m_pManager->addOMReporter(OAMManager::OMReporterPtr(m_pTaskManager));
    // "list-oms" comes with the metrics, so that without them every answer stays as it was.
    MetricsEndpoint::Settings settings;
    if (MetricsEndpoint::readSettings(*GlobalConfig::getInstance(), settings)) {
        m_pListOMs = SharedTask<ListOMsCmdExecuter>(new ListOMsCmdExecuter(*m_pManager));
        m_pManager->addCmdExecuter(OAMManager::ChildExecuterPtr(m_pListOMs));
    }
}

bool Gateway::startMetrics(std::string& out_strError)
{
    MetricsEndpoint::Settings settings;
    if (!MetricsEndpoint::readSettings(*GlobalConfig::getInstance(), settings))
        return true;
    m_pMetrics = std::make_unique<MetricsEndpoint>(*m_pManager, [this] { return isWebServiceBound(); });
    if (!m_pMetrics->start(settings, out_strError))
        return false;
    LH_INFO(gatewayLogger(), "Metrics, health and readiness on " << settings.strAddress << " port " << m_pMetrics->getPort());
    return true;
}

bool Gateway::startSnmp(std::string& out_strError)
{
    SnmpSubagent::Settings settings;
    if (!SnmpSubagent::readSettings(*GlobalConfig::getInstance(), settings))
        return true;
    m_pSnmp = std::make_unique<SnmpSubagent>(*m_pManager);
    return m_pSnmp->start(settings, out_strError);
}

bool Gateway::isWebServiceBound()
{
    std::lock_guard<std::mutex> lock(m_mutexWebService);
    return m_webServiceState == Task::RUNNING_STATE;
}

bool Gateway::startComponents(std::string& out_strError)
{
    for (ManageableTask* pTask : components())
        m_pTaskManager->addTask(*pTask);
    if (m_pTaskManager->start() && m_pTaskManager->waitForStart(m_startTimeout))
        return true;
    out_strError = "the gateway's components did not start";
    return false;
}

bool Gateway::startManager(std::string& out_strError)
{
    if (m_pManager->start() && m_pManager->waitForStart(m_startTimeout))
        return true;
    out_strError = "the OAM manager did not start";
    return false;
}

bool Gateway::startWebService(std::string& out_strError)
{
    m_pWebService = std::make_unique<OAMManagerWsJRunnable>();
    m_pWebService->configure(GlobalConfig::getInstance());
    m_pWebService->setOAMManager(m_pManager);
    m_pWebService->setRunningObserver(this);
    m_webServiceThread = std::thread([this] { m_pWebService->run(); });
    std::unique_lock<std::mutex> lock(m_mutexWebService);
    m_condWebService.wait(lock, [this] { return m_webServiceState != Task::STARTING_STATE; });
    if (m_webServiceState == Task::RUNNING_STATE)
        return true;
    out_strError = "the OAM web service cannot serve on " + configuredString("linkhaven.oam.webServiceIpAddress") +
                   " port " + std::to_string(configuredInt("linkhaven.oam.webServicePort")) + " (see the log)";
    return false;
}
