#include <algorithm>

#include "oam/alarm/AlarmCommands.h"
#include "tests/oam/command/ScriptedChildExecuter.h"
#include "tests/oam/manager/StartedManager.h"

TEST_F(StartedManagerTest, ListsGetOmFirstThenTheBuiltInsThatCannotBeReplaced)
{
    StringVector vNames;
    m_pManager->getSupportedCommands(vNames);
    std::sort(vNames.begin() + 1, vNames.end());
    EXPECT_EQ(vNames, (StringVector{"get-om", "dump-core", "get-alarms", "get-all-alarms", "get-call-logger-status",
                                    "get-config-param", "get-log-level", "get-mem-account-info", "get-run-mode",
                                    "reset-alarm-state", "set-call-logger-status", "set-config-param",
                                    "set-log-level", "set-run-mode"}));
    EXPECT_FALSE(m_pManager->addCmdExecutionHandler("dump-core", OAMManager::CmdExecutionHandlerPtr(new OAMManager::GetAllAlarmsHandler())));
    EXPECT_FALSE(m_pManager->addCmdExecutionHandler("none", OAMManager::CmdExecutionHandlerPtr()));
    expectRows({{"dump-core", false, "Incorrect Usage\nusage : dump-core core-path"}});
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
    ASSERT_TRUE(m_pManager->executeCommand(command("get-om linkhaven.om.x"), nullptr));
    ASSERT_TRUE(m_pManager->executeCommand(command("set-param a 1"), nullptr));
    ASSERT_TRUE(m_pChild->waitForCommands(2));
    EXPECT_EQ(m_pChild->commands(), (std::vector<std::string>{"get-om", "set-param"}));
}
