#include <algorithm>

#include "oam/alarm/AlarmCommands.h"
#include "tests/oam/command/ScriptedChildExecuter.h"
#include "tests/oam/manager/StartedManager.h"

namespace {
OAMManager::CmdExecutionHandlerPtr aHandler()
{
    return OAMManager::CmdExecutionHandlerPtr(new OAMManager::GetAllAlarmsHandler());
}
} // namespace

// "get-om" and "set-param" are answered by the synchronous entry itself.
TEST_F(StartedManagerTest, GetOmAndSetParamAnswerOnTheCallersThread)
{
    const std::string GET_OM_USAGE = "usage: get-om om-name", SET_PARAM_USAGE = "usage: set-param param-name param-value";
    // The command, then whether the call answered, the success flag and the status text.
    const std::tuple<std::vector<std::string>, bool, bool, std::string> cases[] = {
        {{"get-om"}, true, false, GET_OM_USAGE},
        {{"get-om", "a", "b"}, true, false, GET_OM_USAGE},
        {{"get-om", "linkhaven.om.none"}, false, false, "Error"},
        {{"set-param", "test.manager.param"}, true, false, SET_PARAM_USAGE},
        {{"set-param", "a", "b", "c"}, true, false, SET_PARAM_USAGE},
        {{"set-param", "test.manager.param", "42"}, true, true, "Successfully set parameter test.manager.param to 42"},
        {{"set-param", "linkhaven.startTimeoutSec", "soon"}, true, false,
         "Failed to set parameter linkhaven.startTimeoutSec to soon"},
    };
    for (const auto& [vCommand, bAnswered, bSuccess, strText] : cases) {
        const std::vector<std::string> vArgs(vCommand.begin() + 1, vCommand.end());
        SCOPED_TRACE(command(vCommand[0], vArgs));
        const SoapOAM__OAMCommandExecResult result = execute(vCommand[0], vArgs);
        EXPECT_EQ(std::make_tuple(m_bAnswered, result.m_bExecSuccess, result.m_strStatusText),
                  std::make_tuple(bAnswered, bSuccess, strText));
    }
    ParameterValue value;
    EXPECT_TRUE(GlobalConfig::getInstance()->getValue("test.manager.param", value) && value == ParameterValue(42L));
}

TEST_F(StartedManagerTest, ListsGetOmFirstThenTheBuiltInsThatCannotBeReplaced)
{
    StringVector vNames;
    m_pManager->getSupportedCommands(vNames);
    std::sort(vNames.begin() + 1, vNames.end());
    EXPECT_EQ(vNames, (StringVector{"get-om", "dump-core", "get-alarms", "get-all-alarms", "get-call-logger-status",
                                    "get-config-param", "get-log-level", "get-mem-account-info", "get-run-mode",
                                    "reset-alarm-state", "set-call-logger-status", "set-config-param",
                                    "set-log-level", "set-run-mode"}));
    EXPECT_FALSE(m_pManager->addCmdExecutionHandler("dump-core", aHandler()));
    EXPECT_EQ(execute("dump-core").m_strStatusText, "Incorrect Usage\nusage : dump-core core-path");
}

TEST(OAMManager, NamingRebuildsTheCommandTable)
{
    OAMManager manager;
    ASSERT_TRUE(manager.addCmdExecutionHandler("extra", aHandler()));
    manager.setTaskName("named");
    EXPECT_TRUE(manager.addCmdExecutionHandler("extra", aHandler())) << "gone when named";
    EXPECT_FALSE(manager.addCmdExecutionHandler("none", OAMManager::CmdExecutionHandlerPtr()));
}

class ManagerWithChildTest : public StartedManagerTest
{
  protected:
    void beforeStart(OAMManager& io_manager) override { io_manager.addCmdExecuter(OAMManager::ChildExecuterPtr(m_pChild)); }
    ScriptedChildExecuter* const m_pChild = new ScriptedChildExecuter();
};

// Queued, they are not in the manager's table: the children get them.
TEST_F(ManagerWithChildTest, GetOmAndSetParamQueuedGoToTheChildren)
{
    ASSERT_TRUE(m_pManager->executeCommand(command("get-om", {"linkhaven.om.x"}), nullptr));
    ASSERT_TRUE(m_pManager->executeCommand(command("set-param", {"a", "1"}), nullptr));
    ASSERT_TRUE(m_pChild->waitForCommands(2));
    EXPECT_EQ(m_pChild->commands(), (std::vector<std::string>{"get-om", "set-param"}));
}
