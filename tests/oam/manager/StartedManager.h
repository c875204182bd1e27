#pragma once
// A manager constructed, initialized, named and running for each test, and stopped, waited for
// and destroyed after it. A derived fixture chooses the configuration (by default the process-wide
// one, with the CPU monitor off) and registers what it needs before the start.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/infra/RWGlobalConfig.h"
#include "oam/command/SoapOAMCommand.h"
#include "oam/manager/OAMManager.h"

class StartedManagerTest : public ::testing::Test
{
  protected:
    static constexpr const char* TASK_NAME = "OAMManager";

    void SetUp() override
    {
        RWGlobalConfig::getInstance()->setValue("linkhaven.system.cpu.monitor.monitoringPeriodInMs", ParameterValue(0L));
        m_pManager = std::make_unique<OAMManager>();
        ASSERT_TRUE(m_pManager->initialize(configuration()));
        m_pManager->setTaskName(TASK_NAME);
        beforeStart(*m_pManager);
        ASSERT_TRUE(m_pManager->start());
        ASSERT_TRUE(m_pManager->waitForStart(ACE_Time_Value(60)));
    }
    void TearDown() override
    {
        if (!m_pManager)
            return;
        m_pManager->stop();
        m_pManager->waitUntilDone();
        m_pManager.reset();
    }

    virtual TSHandle<ROConfiguration> configuration() { return GlobalConfig::getInstance(); }
    // Registration before start: handlers, child executers.
    virtual void beforeStart(OAMManager&) {}

    static SoapOAMCommand command(const std::string& in_strName, const std::vector<std::string>& in_vArgs = {})
    {
        SoapOAMCommand cmd;
        cmd.setName(in_strName.c_str());
        for (const std::string& strArg : in_vArgs)
            cmd.pushBackArg(strArg.c_str());
        return cmd;
    }

    // Through the manager's synchronous entry; m_bAnswered keeps what the call gave. Test thread only.
    SoapOAM__OAMCommandExecResult execute(const std::string& in_strName, const std::vector<std::string>& in_vArgs = {})
    {
        SoapOAM__OAMCommandExecResult result;
        m_bAnswered = m_pManager->executeCommand(command(in_strName, in_vArgs), result, ACE_Time_Value(60));
        return result;
    }

    std::unique_ptr<OAMManager> m_pManager;
    bool m_bAnswered = false;
};
