#include <gtest/gtest.h>

#include <fstream>

#include "host/core/Logger.h"
#include "host/infra/RWGlobalConfig.h"

TEST(RunMode, NamesParseInAnyCaseAndAnythingElseIsNoRunMode)
{
    EXPECT_EQ(parseRunModeString("production"), PRODUCTION_RUN_MODE);
    EXPECT_EQ(parseRunModeString("Maintenance"), MAINTENANCE_RUN_MODE);
    EXPECT_EQ(parseRunModeString("none"), NO_RUN_MODE);
    EXPECT_EQ(parseRunModeString(""), NO_RUN_MODE);
    EXPECT_EQ(parseRunModeString("maint"), NO_RUN_MODE);
    for (RunMode mode : {PRODUCTION_RUN_MODE, MAINTENANCE_RUN_MODE})
        EXPECT_EQ(parseRunModeString(getRunModeString(mode)), mode);
}

TEST(RunMode, SwitchingPutsTheModesLoggingConfigurationInForce)
{
    const TSHandle<RWGlobalConfig> config = RWGlobalConfig::getInstance();
    EXPECT_FALSE(config->setRunMode(NO_RUN_MODE));
    EXPECT_TRUE(config->setRunMode(PRODUCTION_RUN_MODE)); // no logging configuration: nothing changes

    const std::string strFile = "/tmp/linkhaven-runmode-" + std::to_string(getpid()) + ".properties";
    std::ofstream(strFile) << "log4cplus.logger.linkhaven.test.runmode=DEBUG\n";
    ASSERT_TRUE(config->setValue("linkhaven.log.config.maintenance", ParameterValue(strFile)));
    EXPECT_TRUE(config->setRunMode(MAINTENANCE_RUN_MODE));
    EXPECT_EQ(Logger("linkhaven.test.runmode").getLogLevel(), DEBUG_LOG_LEVEL);
    std::remove(strFile.c_str());

    EXPECT_FALSE(config->setRunMode(MAINTENANCE_RUN_MODE));
    ASSERT_TRUE(config->setValue("linkhaven.log.config.maintenance", ParameterValue(std::string())));
    EXPECT_TRUE(config->setRunMode(MAINTENANCE_RUN_MODE));
}
