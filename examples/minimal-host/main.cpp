// minimal-host PORT: the OAM manager with one component, and its web service on 127.0.0.1 PORT,
// until SIGINT or SIGTERM. Try it with linkhaven-oamctl:
//   linkhaven-oamctl --endpoint http://127.0.0.1:PORT greet world
//   linkhaven-oamctl --endpoint http://127.0.0.1:PORT --om linkhaven.om.minimalHost.greetings

#include <pthread.h>
#include <signal.h>

#include <future>
#include <iostream>
#include <string>
#include <thread>

#include <log4cplus/configurator.h>
#include <log4cplus/initializer.h>

#include "GreeterComponent.h"
#include "host/infra/RWGlobalConfig.h"
#include "oam/manager/OAMManager.h"
#include "oam/soap/OAMManagerWsJRunnable.h"

namespace {
template <class T>
using SharedTask = CountedObjPtr<T, TSReferenceCount, DeleteCountedObjDeleter<T>>;

// Tells the host thread whether the web service serves, or could not.
class ServingObserver : public JRunnable::RunningObserver
{
  public:
    void newTaskState(JRunnable&, Task::State in_state) override
    {
        if (in_state != Task::STARTING_STATE && !m_bTold) {
            m_bTold = true;
            m_serving.set_value(in_state == Task::RUNNING_STATE);
        }
    }
    bool serving() { return m_serving.get_future().get(); }

  private:
    bool m_bTold = false; // the web-service thread only
    std::promise<bool> m_serving;
};
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: minimal-host PORT" << std::endl;
        return 2;
    }
    // Blocked before any thread starts, so that every thread inherits the mask and sigwait below
    // alone takes the stop signals.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    log4cplus::Initializer logging;
    log4cplus::BasicConfigurator::doConfigure();
    log4cplus::Logger::getRoot().setLogLevel(log4cplus::INFO_LOG_LEVEL);

    TSHandle<RWGlobalConfig> config = RWGlobalConfig::getInstance();
    config->setValue("linkhaven.oam.webServiceIpAddress", ParameterValue(std::string("127.0.0.1")));
    config->setValue("linkhaven.oam.webServicePort", ParameterValue(std::stol(argv[1])));
    config->setValue("linkhaven.system.cpu.monitor.monitoringPeriodInMs", ParameterValue(0L));

    // The manager is set up on this thread before anything starts: built, initialized, named, the
    // component registered.
    SharedTask<GreeterComponent> pGreeter(new GreeterComponent);
    SharedTask<OAMManager> pManager(new OAMManager);
    pManager->initialize(GlobalConfig::getInstance());
    pManager->setTaskName("OAMManager");
    pManager->addCmdExecuter(OAMManager::ChildExecuterPtr(pGreeter));
    pManager->addOMReporter(OAMManager::OMReporterPtr(pGreeter));
    const ACE_Time_Value startTimeout(10);
    if (!pGreeter->start() || !pGreeter->waitForStart(startTimeout) || !pManager->start() ||
        !pManager->waitForStart(startTimeout)) {
        std::cerr << "minimal-host: the component or the manager did not start" << std::endl;
        return 1;
    }

    OAMManagerWsJRunnable webService;
    ServingObserver observer;
    webService.configure(GlobalConfig::getInstance());
    webService.setOAMManager(pManager);
    webService.setRunningObserver(&observer);
    std::thread webServiceThread([&webService] { webService.run(); });
    const bool bServing = observer.serving();
    if (bServing) {
        std::cout << "minimal-host: serving on 127.0.0.1 port " << argv[1] << std::endl;
        int nSignal = 0;
        sigwait(&stopSignals, &nSignal);
    } else {
        std::cerr << "minimal-host: the web service cannot serve on port " << argv[1] << std::endl;
    }

    // Stopped in the reverse order.
    webService.terminate();
    webServiceThread.join();
    pManager->stop();
    pManager->waitUntilDone();
    pGreeter->stop();
    pGreeter->waitUntilDone();
    return bServing ? 0 : 1;
}
