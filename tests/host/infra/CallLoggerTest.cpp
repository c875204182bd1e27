#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

#include "host/infra/CallLogger.h"

TEST(CallLogger, WritesOnlyWhileConfiguredAndSwitchedOn)
{
    CallLogger::close();
    EXPECT_FALSE(CallLogger::configure("/nonexistent/calls.log"));
    EXPECT_FALSE(CallLogger::setMode(true) || CallLogger::isConfigured() || CallLogger::isEnabled());
    EXPECT_FALSE(CallLogger::logCall("lost"));

    const std::string strPath = ::testing::TempDir() + "linkhaven-calls-" + std::to_string(getpid()) + ".log";
    ASSERT_TRUE(CallLogger::configure(strPath));
    EXPECT_TRUE(CallLogger::isEnabled() && CallLogger::logCall("call 1"));
    EXPECT_TRUE(CallLogger::setMode(false));
    EXPECT_TRUE(CallLogger::isConfigured() && !CallLogger::isEnabled());
    EXPECT_FALSE(CallLogger::logCall("call 2"));
    EXPECT_TRUE(CallLogger::setMode(true) && CallLogger::logCall("call 3"));
    std::ostringstream content;
    content << std::ifstream(strPath).rdbuf();
    EXPECT_EQ(content.str(), "call 1\ncall 3\n");
    CallLogger::close();
    EXPECT_FALSE(CallLogger::isConfigured());
    std::remove(strPath.c_str());
}
