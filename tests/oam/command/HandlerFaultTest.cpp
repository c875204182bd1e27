#include <stdexcept>

#include <gtest/gtest.h>

#include "oam/command/SoapOAMCommand.h"
#include "tests/oam/command/TestExecuterTask.h"
#include "tests/support/LogCapture.h"

namespace {
class ThrowingHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand&, SoapOAM__OAMCommandExecResult&) override
    {
        throw std::runtime_error("handler bug");
    }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << "throw"; }
    bool checkUsage(const OAMCommand&, SoapOAM__OAMCommandExecResult&) const override { return true; }
};

SoapOAMCommand commandNamed(const char* in_szName)
{
    SoapOAMCommand cmd;
    cmd.setName(in_szName);
    return cmd;
}
} // namespace

TEST(ExecuterHandlerFault, ACallerWithoutTimeOutIsReleasedAndTheTaskServesTheNextCommand)
{
    TestExecuterTask task("faulty-executer");
    task.addHandler("throw", new ThrowingHandler);
    ASSERT_TRUE(task.start());
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    SoapOAM__OAMCommandExecResult result;
    EXPECT_FALSE(task.executeCommand(commandNamed("throw"), result, ACE_Time_Value::max_time));
    EXPECT_FALSE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "Error");

    EXPECT_TRUE(task.executeCommand(commandNamed("unknown"), result, ACE_Time_Value::max_time));
    EXPECT_EQ(result.m_strStatusText, "Command not supported. Supported commands :\nthrow");
    // Logged once the method object has unwound, before the next one ran.
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "task faulty-executer : method object "
                                                  "OAMCmdExecuterTaskImpl::ExecCmd_MO threw : handler bug"));
}
