#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

#include "host/infra/CallLogger.h"

// Switching on and off, and the refusal without a file, are driven through the administration commands.
TEST(CallLogger, RecordsAreWrittenOnlyWhileEnabledAndAFileThatCannotBeOpenedConfiguresNothing)
{
    EXPECT_FALSE(CallLogger::configure("/nonexistent/calls.log") || CallLogger::isConfigured());
    const std::string strPath = ::testing::TempDir() + "linkhaven-calls-" + std::to_string(getpid()) + ".log";
    ASSERT_TRUE(CallLogger::configure(strPath));
    EXPECT_TRUE(CallLogger::logCall("call 1") && CallLogger::setMode(false));
    EXPECT_FALSE(CallLogger::logCall("call 2"));
    EXPECT_TRUE(CallLogger::setMode(true) && CallLogger::logCall("call 3"));
    CallLogger::close();
    std::ostringstream content;
    content << std::ifstream(strPath).rdbuf();
    EXPECT_EQ(content.str(), "call 1\ncall 3\n");
    std::remove(strPath.c_str());
}
