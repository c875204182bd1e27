#include <gtest/gtest.h>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

#include "host/core/DefaultStaticMemAllocator.h"
#include "host/infra/CallLogger.h"
#include "host/infra/ParameterInfoDB.h"
#include "tests/oam/manager/StartedManager.h"
#include "tests/support/LogCapture.h"

namespace {
std::string usage(const std::string& in_strLine) { return "Incorrect Usage\nusage : " + in_strLine; }

const char* const ACCOUNT = "AdminCommandsTest";
const char* const TIMEOUT_PARAMETER = "linkhaven.startTimeoutSec";

class AdminCommandsTest : public StartedManagerTest
{
  protected:
    void SetUp() override
    {
        StartedManagerTest::SetUp();
        m_pBlock = DefaultStaticMemAllocator::allocate(96, ACCOUNT);
        // Defined without a default, and never given a value.
        ParameterInfoDB::getNonConstInstance().defineParameter("test.admin.unset", ParameterValue::STRING_TYPE, nullptr,
                                                               false, false, false, "");
        Logger("lhtest.inheriting");
    }
    void TearDown() override
    {
        DefaultStaticMemAllocator::deallocate(m_pBlock, 96, ACCOUNT);
        std::remove(m_strCore.c_str());
        Logger().setLogLevel(m_rootLevel);
        CallLogger::close();
        RWGlobalConfig::getInstance()->setValue(TIMEOUT_PARAMETER, ParameterValue(30L));
        RWGlobalConfig::getInstance()->setValue("linkhaven.run.mode", ParameterValue("production"));
        RWGlobalConfig::getInstance()->setValue("linkhaven.log.config.production", ParameterValue(""));
        StartedManagerTest::TearDown();
    }

    void* m_pBlock = nullptr;
    const std::string m_strCore = ::testing::TempDir() + "admin-core-" + std::to_string(::getpid());
    const LogLevel m_rootLevel = Logger().getLogLevel();
};

TEST_F(AdminCommandsTest, EveryCommandAnswersItsWholeText)
{
    std::ostringstream configuration;
    configuration << *GlobalConfig::getInstance();
    const std::string GET_CONFIG = usage("get-config-param [parameter-name]"), GET_OM = "usage: get-om om-name",
                      SET_CONFIG = usage("set-config-param <parameter-name> <new-parameter-value>"),
                      SET_PARAM = "usage: set-param param-name param-value", UNWRITABLE = "/nonexistent-dir/core";
    LogCapture forced("lhtest.forced");
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
        {"get-config-param", true, "Success\n" + configuration.str()},
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
        {"dump-core " + UNWRITABLE, false, "Error. Failed to write core to " + UNWRITABLE},
        // Answered by the synchronous entry itself, on the caller's thread.
        {"get-om", false, GET_OM}, {"get-om a b", false, GET_OM}, {"get-om linkhaven.om.none", false, "Error"},
        {"set-param test.manager.param", false, SET_PARAM}, {"set-param a b c", false, SET_PARAM},
        {"set-param test.manager.param 42", true, "Successfully set parameter test.manager.param to 42"},
        {"get-config-param test.manager.param", true, "Success\ntest.manager.param=42"},
        {"set-param linkhaven.startTimeoutSec soon", false, "Failed to set parameter linkhaven.startTimeoutSec to soon"},
    };
#if !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
    // A sanitized process's image is hundreds of megabytes and slow to write; the failing row
    // above covers the handler there.
    rows.push_back({"dump-core " + m_strCore, true, "Successfully wrote core to " + m_strCore});
#endif
    expectRows(rows);
    EXPECT_EQ(forced.messages(), StringVector{"Setting loglevel of logger lhtest.forced to error"});
    EXPECT_EQ(Logger("lhtest.forced").getLogLevel(), ERROR_LOG_LEVEL);
}

TEST_F(AdminCommandsTest, CallLoggerAndRunModeChangesAreTold)
{
    const std::string strDir = ::testing::TempDir() + "admin-calls-" + std::to_string(::getpid());
    std::remove((strDir + "/calls").c_str());
    ::rmdir(strDir.c_str());
    ASSERT_EQ(::mkdir(strDir.c_str(), 0700), 0);
    ASSERT_TRUE(CallLogger::configure(strDir + "/calls"));
    log4cplus::Logger linkhaven = Logger("linkhaven").getLog4cplusLogger();
    const std::string strAppender = std::string(TASK_NAME) + " - AlarmStateAppender";
    expectRows({
        {"set-call-logger-status enabled", true, "Success"},
        {"get-call-logger-status", true, "Success\nCall Logger is enabled"},
        {"set-call-logger-status disabled", true, "Success"},
        {"get-call-logger-status", true, "Success\nCall Logger is disabled"},
        {"set-call-logger-status enabled", false, "Failed to set new call logger status to : enabled",
         [&] { EXPECT_EQ(std::remove((strDir + "/calls").c_str()) | ::rmdir(strDir.c_str()), 0); }},
        // As when the new mode's logging configuration drops every appender.
        {"set-run-mode maintenance", true, "Success", [&] { linkhaven.removeAppender(strAppender); }},
        {"get-run-mode", true, "Success\nThe current gateway run mode is maintenance"},
        {"set-run-mode production", false, "failed to set run mode to value: production",
         [] { RWGlobalConfig::getInstance()->setValue("linkhaven.log.config.production", ParameterValue("/absent")); }},
        // The parameter stays written although the mode was not put in force.
        {"get-run-mode", true, "Success\nThe current gateway run mode is production"},
    });
    EXPECT_TRUE(linkhaven.getAppender(strAppender));
}
} // namespace
