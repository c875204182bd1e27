#include <gtest/gtest.h>

#include <fstream>

#include "host/core/Logger.h"
#include "host/infra/RWGlobalConfig.h"

// Names, refusals and an unreadable file are driven through the administration commands.
TEST(RunMode, SwitchingPutsTheModesLoggingConfigurationInForce)
{
    EXPECT_EQ(parseRunModeString("maint"), NO_RUN_MODE) << "whole names only";
    const std::string strFile = ::testing::TempDir() + "linkhaven-runmode-" + std::to_string(getpid());
    std::ofstream(strFile) << "log4cplus.logger.linkhaven.test.runmode=DEBUG\n";
    const TSHandle<RWGlobalConfig> config = RWGlobalConfig::getInstance();
    ASSERT_TRUE(config->setValue("linkhaven.log.config.maintenance", ParameterValue(strFile)));
    EXPECT_TRUE(config->setRunMode(MAINTENANCE_RUN_MODE));
    EXPECT_EQ(Logger("linkhaven.test.runmode").getLogLevel(), DEBUG_LOG_LEVEL);
    std::remove(strFile.c_str());
}
