// linkhaven-gateway: the demo gateway. Exit status 0 after a stop on SIGINT or SIGTERM (or after
// --help or --version), 1 when the gateway could not start or stopped by itself, 2 for a bad
// command line.

#include <iostream>
#include <memory>

#include <log4cplus/configurator.h>
#include <log4cplus/consoleappender.h>
#include <log4cplus/layout.h>

#include "apps/gateway/Gateway.h"
#include "apps/gateway/GatewayConfig.h"
#include "apps/gateway/StopRequest.h"
#include "apps/gateway/StopSignals.h"
#include "host/core/AceCleanupLogger.h"
#include "host/infra/GlobalConfig.h"

namespace {
void configureLogging(const std::string& in_strPropertiesFile)
{
    log4cplus::Logger root = Logger().getLog4cplusLogger();
    if (!in_strPropertiesFile.empty()) {
        log4cplus::PropertyConfigurator::doConfigure(in_strPropertiesFile);
        return;
    }
    log4cplus::SharedAppenderPtr pConsole(new log4cplus::ConsoleAppender(true, true));
    pConsole->setLayout(std::make_unique<log4cplus::PatternLayout>("%D{%H:%M:%S.%q} %-5p %c - %m%n"));
    root.addAppender(pConsole);
    root.setLogLevel(log4cplus::INFO_LOG_LEVEL);
}
} // namespace

int main(int argc, char** argv)
{
    StopRequest stopRequest;
    const StopSignals stopSignals(stopRequest);
    GatewayConfig config;
    if (const std::optional<int> exitStatus = config.load(argc, argv, std::cout, std::cerr))
        return *exitStatus;
    configureLogging(config.getLogConfigPath());
    const Logger& logger = AceCleanupLogger::get("linkhaven.gw.Gateway");

    std::string strRunMode;
    GlobalConfig::getInstance()->getString("linkhaven.run.mode", strRunMode);
    if (!GlobalConfig::getInstance()->setRunMode(parseRunModeString(strRunMode)))
        LH_WARN(logger, "The logging of run mode " << strRunMode << " could not be put in force");

    Gateway gateway(stopRequest);
    std::string strError;
    if (!gateway.start(strError)) {
        std::cerr << "linkhaven-gateway: " << strError << std::endl;
        return 1;
    }
    const std::string strReason = stopRequest.wait();
    LH_INFO(logger, "Gateway stopping: " << strReason);
    gateway.stop();
    LH_INFO(logger, "Gateway stopped");
    return strReason == "SIGINT" || strReason == "SIGTERM" ? 0 : 1;
}
