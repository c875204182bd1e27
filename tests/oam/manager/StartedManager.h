#pragma once
// A manager constructed, initialized, named and running for each test, and stopped, waited for
// and destroyed after it. A derived fixture chooses the configuration (the process-wide one by
// default, with the CPU monitor off) and registers what it needs before the start.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/infra/GlobalConfig.h"
#include "host/infra/RWGlobalConfig.h"
#include "oam/command/SoapOAMCommand.h"
#include "oam/manager/OAMManager.h"
#include "tests/host/thread/RunOnTaskThread.h"

class StartedManagerTest : public ::testing::Test
{
  protected:
    static constexpr const char* TASK_NAME = "OAMManager";

    void SetUp() override
    {
        setGlobalParam("linkhaven.system.cpu.monitor.monitoringPeriodInMs", "0");
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

    // The value that the text denotes, in the process-wide configuration.
    static bool setGlobalParam(const std::string& in_strName, const std::string& in_strText)
    {
        ParameterValue value;
        value.initFromText(in_strText.c_str(), ParameterValue::NO_VALUE_TYPE, true);
        return RWGlobalConfig::getInstance()->setValue(in_strName, value);
    }

    static SoapOAMCommand command(const std::string& in_strName, const std::vector<std::string>& in_vArgs = {})
    {
        SoapOAMCommand cmd;
        cmd.setName(in_strName.c_str());
        for (const std::string& strArg : in_vArgs)
            cmd.pushBackArg(strArg.c_str());
        return cmd;
    }

    // Through the manager's synchronous entry; m_bAnswered keeps what the call gave.
    SoapOAM__OAMCommandExecResult execute(const std::string& in_strName, const std::vector<std::string>& in_vArgs = {})
    {
        SoapOAM__OAMCommandExecResult result;
        m_bAnswered = m_pManager->executeCommand(command(in_strName, in_vArgs), result, ACE_Time_Value(60));
        return result;
    }

    // Runs the function on the manager's thread and waits for it.
    bool runOnManagerThread(std::function<void()> in_function)
    {
        return runOnTaskThread(m_pManager->getActivationQueue(), std::move(in_function));
    }

    std::unique_ptr<OAMManager> m_pManager;
    bool m_bAnswered = false;
};
