#include <sstream>

#include <gtest/gtest.h>

#include "apps/gateway/Gateway.h"
#include "apps/gateway/GatewayConfig.h"
#include "apps/gateway/SpanAlarms.h"
#include "apps/gateway/StopRequest.h"
#include "apps/oamctl/JsonString.h"
#include "apps/oamctl/OamCtl.h"
#include "tests/support/Loopback.h"

TEST(OamCtl, ExitStatusAndOutputTellASuccessAFailureAndNoAnswerFromARunningGateway)
{
    const std::string strPort = std::to_string(freePort());
    const std::string strSetPort = "linkhaven.oam.webServicePort=" + strPort;
    const char* const argv[] = {"linkhaven-gateway", "--set", strSetPort.c_str()};
    std::ostringstream ignored;
    ASSERT_FALSE(GatewayConfig().load(3, argv, ignored, ignored));
    StopRequest stopRequest;
    Gateway gateway(stopRequest);
    std::string strError;
    ASSERT_TRUE(gateway.start(strError)) << strError;

    const std::string strEndpoint = "http://127.0.0.1:" + strPort;
    const std::string strClosed = "http://127.0.0.1:" + std::to_string(freePort());
    const std::string strAlarm = SpanAlarms::alarmName(2);
    struct Case { std::vector<std::string> vArgs; int nExit; std::string strOut, strErr; };
    const Case cases[] = {
        {{"get-run-mode"}, 0, "Success\nThe current gateway run mode is production\n", ""},
        {{"--json", "set-config-param", "a\"b\\c\td", "1"}, 1,
         R"({"success":false,"text":"Invalid config parameter: a\"b\\c\td. Incorrect Usage\nusage : set-config-param <parameter-name> <new-parameter-value>"})" "\n", ""},
        {{"--json", "--om", "linkhaven.om.taskManager.state"}, 0, R"({"success":true,"value":"RUNNING"})" "\n", ""},
        {{"put-out-of-service", "^span2-"}, 0, "24 channels match ^span2- : 24 changed to out-of-service\nAlarm raised : " + strAlarm + "\n", ""},
        {{"--channel-status"}, 0, "span1: 24 in-service, 0 quiesced, 0 out-of-service\nspan2: 0 in-service, 0 quiesced, 24 out-of-service\n", ""},
        {{"get-alarms"}, 0, strAlarm + " : ALARM_ON\n", ""},
        {{"--json", "put-in-service", "span2-ch7$"}, 0,
         R"({"success":true,"text":"1 channel matches span2-ch7$ : 1 changed to in-service\nAlarm cleared : )" + strAlarm + "\"}\n", ""},
        {{"get-alarms"}, 0, "NO ALARM\n", ""},
        {{"--om", "linkhaven.om.nope"}, 2, "", "linkhaven-oamctl: the gateway answered with a fault: No such OM: linkhaven.om.nope\n"},
        {{"--endpoint", strClosed, "get-alarms"}, 2, "",
         "linkhaven-oamctl: no answer from " + strClosed + ": Connection refused (connect failed in tcp_connect())\n"},
        {{"--json", "--endpoint", strClosed, "--channel-status"}, 2,
         R"({"success":false,"error":"no answer from )" + strClosed + R"x(: Connection refused (connect failed in tcp_connect())"})x" "\n",
         "linkhaven-oamctl: no answer from " + strClosed + ": Connection refused (connect failed in tcp_connect())\n"},
        {{"--recv-timeout-ms"}, 2, "", "linkhaven-oamctl: --recv-timeout-ms needs an argument (see --help)\n"},
        {{"--json"}, 2, "", "linkhaven-oamctl: no command given (see --help)\n"},
        {{"--json", "--version", "get-alarms"}, 0, "linkhaven-oamctl " LINKHAVEN_VERSION "\n", ""},
        {{"--om", "x", "get-alarms"}, 2, "", "linkhaven-oamctl: a command cannot follow --om or --channel-status: get-alarms (see --help)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.vArgs));
        std::vector<const char*> vArgv = {"linkhaven-oamctl"};
        for (const std::string& strArg : c.vArgs)
            vArgv.push_back(strArg.c_str());
        std::ostringstream out, err;
        EXPECT_EQ(runOamCtl(static_cast<int>(vArgv.size()), vArgv.data(), strEndpoint.c_str(), out, err), c.nExit);
        EXPECT_EQ(out.str(), c.strOut);
        EXPECT_EQ(err.str(), c.strErr);
    }
    gateway.stop();
    EXPECT_EQ(jsonString(std::string("\x01\x1f\x7f\xc3\xa9", 5)), "\"\\u0001\\u001f\x7f\xc3\xa9\"");
}
