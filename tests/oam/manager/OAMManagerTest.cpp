#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/oam/manager/StartedManager.h"

namespace {

struct CallerThreadCase
{
    const char* szRow;
    std::string strName;
    std::vector<std::string> vArgs;
    bool bAnswered;
    bool bSuccess;
    std::string strText;
};

} // namespace

// "get-om" and "set-param" are answered by the synchronous entry itself.
TEST_F(StartedManagerTest, GetOmAndSetParamAnswerOnTheCallersThread)
{
    const CallerThreadCase cases[] = {
        {"get-om without argument", "get-om", {}, true, false, "usage: get-om om-name"},
        {"get-om with two", "get-om", {"a", "b"}, true, false, "usage: get-om om-name"},
        {"get-om of an unknown OM", "get-om", {"linkhaven.om.none"}, false, false, "Error"},
        {"set-param with one", "set-param", {"test.manager.param"}, true, false,
         "usage: set-param param-name param-value"},
        {"set-param with three", "set-param", {"a", "b", "c"}, true, false, "usage: set-param param-name param-value"},
        {"set-param taken", "set-param", {"test.manager.param", "42"}, true, true,
         "Successfully set parameter test.manager.param to 42"},
        {"set-param refused", "set-param", {"linkhaven.startTimeoutSec", "soon"}, true, false,
         "Failed to set parameter linkhaven.startTimeoutSec to soon"},
    };
    for (const CallerThreadCase& row : cases) {
        SCOPED_TRACE(row.szRow);
        const SoapOAM__OAMCommandExecResult result = execute(row.strName, row.vArgs);
        EXPECT_EQ(m_bAnswered, row.bAnswered);
        EXPECT_EQ(result.m_bExecSuccess, row.bSuccess);
        EXPECT_EQ(result.m_strStatusText, row.strText);
    }
    ParameterValue value;
    ASSERT_TRUE(GlobalConfig::getInstance()->getValue("test.manager.param", value));
    EXPECT_EQ(value, ParameterValue(42L));
}
