#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

#include "host/infra/CallLogger.h"

namespace {
std::string contentOf(const std::string& in_strPath)
{
    std::ostringstream content;
    content << std::ifstream(in_strPath).rdbuf();
    return content.str();
}
} // namespace

TEST(CallLogger, IsSwitchedOnAndOffOnlyOnceConfigured)
{
    CallLogger::close();
    EXPECT_FALSE(CallLogger::isConfigured());
    EXPECT_FALSE(CallLogger::isEnabled());
    EXPECT_FALSE(CallLogger::setMode(true));
    EXPECT_FALSE(CallLogger::logCall("lost"));

    const std::string strPath = "/tmp/linkhaven-calls-" + std::to_string(getpid()) + ".log";
    ASSERT_TRUE(CallLogger::configure(strPath));
    EXPECT_TRUE(CallLogger::isConfigured());
    EXPECT_TRUE(CallLogger::isEnabled());
    EXPECT_TRUE(CallLogger::logCall("call 1"));

    EXPECT_TRUE(CallLogger::setMode(false));
    EXPECT_FALSE(CallLogger::isEnabled());
    EXPECT_TRUE(CallLogger::isConfigured());
    EXPECT_FALSE(CallLogger::logCall("call 2"));
    EXPECT_TRUE(CallLogger::setMode(true));
    EXPECT_TRUE(CallLogger::logCall("call 3"));
    EXPECT_EQ(contentOf(strPath), "call 1\ncall 3\n");

    CallLogger::close();
    EXPECT_FALSE(CallLogger::isConfigured());
    std::remove(strPath.c_str());
}

TEST(CallLogger, AFileThatCannotBeOpenedLeavesItUnconfigured)
{
    EXPECT_FALSE(CallLogger::configure("/nonexistent/calls.log"));
    EXPECT_FALSE(CallLogger::isConfigured());
    EXPECT_FALSE(CallLogger::setMode(true));
}
