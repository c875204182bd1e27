#include "host/infra/GlobalConfig.h"

#include <fstream>

#include <log4cplus/configurator.h>
#include <log4cplus/hierarchy.h>

#include "host/core/Logger.h"
#include "host/infra/ParameterInfoDB.h"
#include "host/infra/RWGlobalConfig.h"

TSHandle<GlobalConfig> GlobalConfig::getInstance() { return RWGlobalConfig::getInstance(); }

GlobalConfig::GlobalConfig() : ROConfiguration(&ParameterInfoDB::getInstance()) {}

bool GlobalConfig::setRunMode(RunMode in_mode)
{
    if (in_mode == NO_RUN_MODE)
        return false;
    std::string strLogConfig;
    if (!getString(std::string("linkhaven.log.config.") + getRunModeString(in_mode), strLogConfig) ||
        strLogConfig.empty())
        return true;
    if (!std::ifstream(strLogConfig))
        return false;
    Logger().getLog4cplusLogger().getHierarchy().resetConfiguration();
    log4cplus::PropertyConfigurator::doConfigure(strLogConfig);
    return true;
}
