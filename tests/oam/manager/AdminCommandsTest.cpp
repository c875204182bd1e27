#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include "host/core/DefaultStaticMemAllocator.h"
#include "host/infra/CallLogger.h"
#include "host/infra/ParameterInfoDB.h"
#include "oam/alarm/AlarmCommands.h"
#include "tests/oam/manager/StartedManager.h"
#include "tests/support/LogCapture.h"

namespace {
std::string usage(const std::string& in_strLine) { return "Incorrect Usage\nusage : " + in_strLine; }

using AdminCommandsTest = StartedManagerTest;

TEST_F(AdminCommandsTest, EveryBuiltInCommandIsListedCannotBeReplacedAndAnswersItsWholeText)
{
    void* const pBlock = DefaultStaticMemAllocator::allocate(96, "AdminCommandsTest");
    // Defined without a default, and never given a value.
    ParameterInfoDB::getNonConstInstance().defineParameter("test.admin.unset", ParameterValue::STRING_TYPE, nullptr, false, false, false, "");
    Logger("lhtest.inheriting");
    const LogLevel rootLevel = Logger().getLogLevel();
    const std::string strCore = ::testing::TempDir() + "admin-core-" + std::to_string(::getpid());
    const std::string strConfiguration = ::testing::PrintToString(*GlobalConfig::getInstance());
    const std::string GET_CONFIG = usage("get-config-param [parameter-name]"), GET_OM = "usage: get-om om-name",
                      SET_CONFIG = usage("set-config-param <parameter-name> <new-parameter-value>"),
                      SET_PARAM = "usage: set-param param-name param-value", EXISTING = "/dev/null";
    std::string strDir = ::testing::TempDir() + "admin-calls-XXXXXX";
    const auto calls = [&] { return strDir + "/calls"; };
    log4cplus::Logger linkhaven = Logger("linkhaven").getLog4cplusLogger();
    const std::string strAppender = std::string(TASK_NAME) + " - AlarmStateAppender";
    LogCapture forced("lhtest.forced"), manager("linkhaven.oam.manager");
    Logger("lhtest.forced").setLogLevel(FATAL_LOG_LEVEL);
    std::vector<Row> rows = {
        {"set-log-level LOUD", false, "Invalid log level : LOUD. " + usage("set-log-level log-level [logger-name]")},
        {"set-log-level debug lhtest.absent", false, "Invalid logger : lhtest.absent"},
        {"set-log-level fatal", true, "Success"},
        {"set-log-level error lhtest.forced", true, "Success"},
        {"get-log-level lhtest.inheriting", true, "Success\nThe loglevel of lhtest.inheriting is FATAL"},
        {"get-log-level", false, usage("get-log-level logger-name")},
        {"get-log-level lhtest.absent", false, "Invalid logger : lhtest.absent"},
        {"set-run-mode idle", false, "Invalid run mode : idle. " + usage("set-run-mode run-mode")},
        // The current mode under another spelling: nothing is written, so the stored text stays.
        {"set-run-mode PRODUCTION", true, "Success"},
        {"get-run-mode", true, "Success\nThe current gateway run mode is production"},
        {"get-run-mode now", false, usage("get-run-mode")},
        {"set-call-logger-status Enabled", false,
         "Invalid call logger status : Enabled. " + usage("set-call-logger-status call-logger-status")},
        {"set-call-logger-status enabled", false, "Invalid command set-call-logger-status enabled since no call logger "
                                                  "has been configured.. " + usage("set-call-logger-status call-logger-status")},
        {"get-call-logger-status", true, "Success\nCall Logger is disabled"},
        {"get-call-logger-status x", false, usage("get-call-logger-status")},
        {"get-config-param", true, "Success\n" + strConfiguration},
        {"get-config-param a b", false, "Invalid number of arguments. " + GET_CONFIG},
        {"get-config-param no.such", false, "Invalid configuration parameter : no.such. " + GET_CONFIG},
        {"get-config-param test.admin.unset", false, "failed to get value for parameter: test.admin.unset"},
        {"set-config-param a b c", false, "Missing arguments. " + SET_CONFIG},
        {"set-config-param no.such 1", false, "Invalid config parameter: no.such. " + SET_CONFIG},
        {"set-config-param linkhaven.startTimeoutSec abc", false,
         "failed to set configuration parameterlinkhaven.startTimeoutSec to value abc"},
        {"set-config-param linkhaven.startTimeoutSec 45", true, "Success"},
        {"get-config-param linkhaven.startTimeoutSec", true, "Success\nlinkhaven.startTimeoutSec=45"},
        {"get-mem-account-info AdminCommandsTest no.such", false, "AdminCommandsTest : blocks: 1, bytes: 96, peak "
         "bytes: 96, allocations: 1\nno.such  : failed to retrieve memory accounting information"},
        {"dump-core " + EXISTING, false, "Error. Failed to write core to " + EXISTING},
        {"dump-core", false, usage("dump-core core-path")},
        // Answered by the synchronous entry itself, on the caller's thread.
        {"get-om", false, GET_OM}, {"get-om a b", false, GET_OM}, {"get-om linkhaven.om.none", false, "Error"},
        {"set-param test.manager.param", false, SET_PARAM}, {"set-param a b c", false, SET_PARAM},
        {"set-param test.manager.param 42", true, "Successfully set parameter test.manager.param to 42"},
        {"get-config-param test.manager.param", true, "Success\ntest.manager.param=42"},
        {"set-param linkhaven.startTimeoutSec soon", false, "Failed to set parameter linkhaven.startTimeoutSec to soon"},
        {"set-call-logger-status enabled", true, "Success", [&] { ASSERT_TRUE(::mkdtemp(strDir.data()) && CallLogger::configure(calls())); }},
        {"get-call-logger-status", true, "Success\nCall Logger is enabled"},
        {"set-call-logger-status disabled", true, "Success"},
        {"set-call-logger-status enabled", false, "Failed to set new call logger status to : enabled",
         [&] { EXPECT_EQ(std::remove(calls().c_str()) | ::rmdir(strDir.c_str()), 0); }},
        // As when the new mode's logging configuration drops every appender: it is put back.
        {"set-run-mode maintenance", true, "Success", [&] { linkhaven.removeAppender(strAppender); }},
        {"get-run-mode", true, "Success\nThe current gateway run mode is maintenance"},
        {"set-run-mode production", false, "failed to set run mode to value: production",
         [] { RWGlobalConfig::getInstance()->setValue("linkhaven.log.config.production", ParameterValue("/absent")); }},
        // The parameter stays written although the mode was not put in force.
        {"get-run-mode", true, "Success\nThe current gateway run mode is production"},
    };
#if !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
    // A sanitized process's image is hundreds of megabytes and slow to write; the failing row
    // above covers the handler there.
    rows.push_back({"dump-core " + strCore, true, "Successfully wrote core to " + strCore});
#endif
    expectRows(rows);
    EXPECT_EQ(forced.messages(), StringVector{"Setting loglevel of logger lhtest.forced to error"});
    EXPECT_EQ(Logger("lhtest.forced").getLogLevel(), ERROR_LOG_LEVEL);
    EXPECT_TRUE(linkhaven.getAppender(strAppender));
    // Without a reporter an unknown OM fails at once, not when the call's minute is out.
    EXPECT_TRUE(manager.contains(DEBUG_LOG_LEVEL, "Error getting OM linkhaven.om.none : fallible OM is invalid"));
    // get-om first, then the built-ins, which no handler replaces.
    StringVector vNames;
    m_pManager->getSupportedCommands(vNames);
    std::sort(vNames.begin() + 1, vNames.end());
    EXPECT_EQ(vNames, (StringVector{"get-om", "dump-core", "get-alarms", "get-all-alarms", "get-call-logger-status", "get-config-param", "get-log-level",
                                    "get-mem-account-info", "get-run-mode", "reset-alarm-state", "set-call-logger-status", "set-config-param", "set-log-level", "set-run-mode"}));
    EXPECT_FALSE(m_pManager->addCmdExecutionHandler("dump-core", OAMManager::CmdExecutionHandlerPtr(new OAMManager::GetAllAlarmsHandler())));
    EXPECT_FALSE(m_pManager->addCmdExecutionHandler("none", OAMManager::CmdExecutionHandlerPtr()));
    DefaultStaticMemAllocator::deallocate(pBlock, 96, "AdminCommandsTest");
    std::remove(strCore.c_str());
    Logger().setLogLevel(rootLevel);
}

} // namespace
