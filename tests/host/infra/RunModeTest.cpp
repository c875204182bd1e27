#include <gtest/gtest.h>

#include <fstream>

#include "host/core/Logger.h"
#include "host/infra/RWGlobalConfig.h"

TEST(RunMode, NamesParseInAnyCaseAndSwitchingPutsTheModesLoggingConfigurationInForce)
{
    const std::pair<const char*, RunMode> cases[] = {
        {"production", PRODUCTION_RUN_MODE}, {"Maintenance", MAINTENANCE_RUN_MODE}, {"none", NO_RUN_MODE}, {"maint", NO_RUN_MODE}};
    for (const auto& [szText, mode] : cases)
        EXPECT_EQ(parseRunModeString(szText), mode) << szText;
    EXPECT_STREQ(getRunModeString(MAINTENANCE_RUN_MODE), "maintenance");

    const TSHandle<RWGlobalConfig> config = RWGlobalConfig::getInstance();
    EXPECT_FALSE(config->setRunMode(NO_RUN_MODE));
    EXPECT_TRUE(config->setRunMode(PRODUCTION_RUN_MODE)); // no logging configuration: nothing changes
    const std::string strFile = ::testing::TempDir() + "linkhaven-runmode-" + std::to_string(getpid());
    std::ofstream(strFile) << "log4cplus.logger.linkhaven.test.runmode=DEBUG\n";
    ASSERT_TRUE(config->setValue("linkhaven.log.config.maintenance", ParameterValue(strFile)));
    EXPECT_TRUE(config->setRunMode(MAINTENANCE_RUN_MODE));
    EXPECT_EQ(Logger("linkhaven.test.runmode").getLogLevel(), DEBUG_LOG_LEVEL);
    std::remove(strFile.c_str());
    EXPECT_FALSE(config->setRunMode(MAINTENANCE_RUN_MODE)) << "the file cannot be read";
    ASSERT_TRUE(config->setValue("linkhaven.log.config.maintenance", ParameterValue(std::string())));
    EXPECT_TRUE(config->setRunMode(MAINTENANCE_RUN_MODE));
}
