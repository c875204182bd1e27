#pragma once
// A manager constructed, initialized, named and running for each test, and stopped, waited for
// and destroyed after it. A derived fixture chooses the configuration (by default the process-wide
// one, with the CPU monitor off) and registers what it needs before the start.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/infra/RWGlobalConfig.h"
#include "oam/manager/OAMManager.h"
#include "tests/oam/command/CommandLine.h"

class StartedManagerTest : public ::testing::Test
{
  protected:
    static constexpr const char* TASK_NAME = "OAMManager";

    // A command line (words split at spaces), its success flag and whole status text, and a step
    // taken just before it.
    struct Row { std::string strCommand; bool bOk; std::string strText; std::function<void()> before = [] {}; };

    void SetUp() override
    {
        RWGlobalConfig::getInstance()->setValue("linkhaven.system.cpu.monitor.monitoringPeriodInMs", ParameterValue(0L));
        m_pManager = std::make_unique<OAMManager>();
        ASSERT_TRUE(m_pManager->initialize(configuration()));
        m_pManager->setTaskName(TASK_NAME);
        beforeStart(*m_pManager);
        ASSERT_TRUE(m_pManager->start() && m_pManager->waitForStart(ACE_Time_Value(60)));
    }
    void TearDown() override
    {
        m_pManager->stop();
        m_pManager->waitUntilDone();
        m_pManager.reset();
    }

    virtual TSHandle<ROConfiguration> configuration() { return GlobalConfig::getInstance(); }
    // Registration before start: handlers, child executers.
    virtual void beforeStart(OAMManager&) {}

    // Through the manager's synchronous entry; m_bAnswered keeps what the call gave. Test thread only.
    SoapOAM__OAMCommandExecResult execute(const std::string& in_strLine)
    {
        SoapOAM__OAMCommandExecResult result;
        m_bAnswered = m_pManager->executeCommand(commandLine(in_strLine), result, ACE_Time_Value(60));
        return result;
    }

    // The call gives false only when no answer came, and the text then reads "Error".
    void expectRows(const std::vector<Row>& in_rows)
    {
        for (const Row& row : in_rows) {
            SCOPED_TRACE(row.strCommand);
            row.before();
            const SoapOAM__OAMCommandExecResult result = execute(row.strCommand);
            EXPECT_EQ(std::make_tuple(m_bAnswered, result.m_bExecSuccess, result.m_strStatusText),
                      std::make_tuple(row.strText != "Error", row.bOk, row.strText));
        }
    }

    std::unique_ptr<OAMManager> m_pManager;
    bool m_bAnswered = false;
};
