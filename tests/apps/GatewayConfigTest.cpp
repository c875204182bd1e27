#include <cstdio>
#include <unistd.h>
#include <fstream>
#include <optional>
#include <sstream>

#include <gtest/gtest.h>

#include "apps/gateway/GatewayConfig.h"
#include "host/infra/GlobalConfig.h"

TEST(GatewayConfig, EachCommandLineRunsTheGatewayOrEndsWithItsExitStatusAndOneLine)
{
    const std::string strFile = ::testing::TempDir() + "gateway-config-test-" + std::to_string(::getpid()) + ".conf";
    std::ofstream(strFile) << "# a comment\n\n linkhaven.oam.webServicePort = 18500\nlinkhaven.gw.pstn.spanCount=4\n";
    const std::string strBadFile = ::testing::TempDir() + "gateway-config-bad-" + std::to_string(::getpid()) + ".conf";
    std::ofstream(strBadFile) << "linkhaven.gw.pstn.spanCount=3\nlinkhaven.gw.pstn.spans=3\n";
    const std::string strTail = " (see --help)\n";
    const std::string strUsage = "usage: linkhaven-gateway [--config FILE]... [--set KEY=VALUE]... [--log-config FILE] [--help] [--version]";
    // strOut: the first line of the output.
    struct Case { std::vector<std::string> vArgs; std::optional<int> exitStatus; std::string strErr; std::string strOut = ""; int nPort = 0, nSpans = 0; };
    const Case cases[] = {
        {{}, std::nullopt, "", "", 18081, 2},
        // Every --set comes after every --config, wherever it stands.
        {{"--set", "linkhaven.oam.webServicePort=18600", "--config", strFile}, std::nullopt, "", "", 18600, 4},
        {{"--config", strFile, "--log-config", strFile}, std::nullopt, "", "", 18500, 4},
        {{"--bogus"}, 2, "linkhaven-gateway: unknown option --bogus" + strTail},
        {{"18081"}, 2, "linkhaven-gateway: unknown option 18081" + strTail},
        {{"--set"}, 2, "linkhaven-gateway: --set needs an argument" + strTail},
        {{"--set", "linkhaven.oam.webServicePrt=1"}, 2, "linkhaven-gateway: unknown parameter linkhaven.oam.webServicePrt" + strTail},
        {{"--set", "18081"}, 2, "linkhaven-gateway: expected KEY=VALUE, not 18081" + strTail},
        {{"--set", "linkhaven.oam.webServicePort=http"}, 2, "linkhaven-gateway: invalid value \"http\" for parameter linkhaven.oam.webServicePort" + strTail},
        {{"--set", "linkhaven.oam.webServicePort=70000"}, 2, "linkhaven-gateway: parameter linkhaven.oam.webServicePort must be from 1 to 65535" + strTail},
        {{"--set", "linkhaven.gw.pstn.channelsPerSpan=0"}, 2, "linkhaven-gateway: parameter linkhaven.gw.pstn.channelsPerSpan must be from 1 to 100" + strTail},
        {{"--set", "linkhaven.run.mode=fast"}, 2, "linkhaven-gateway: invalid run mode fast: production or maintenance" + strTail},
        {{"--config", "/nonexistent"}, 2, "linkhaven-gateway: cannot read configuration file /nonexistent" + strTail},
        {{"--config", strBadFile}, 2, "linkhaven-gateway: " + strBadFile + ":2: unknown parameter linkhaven.gw.pstn.spans" + strTail},
        {{"--log-config", "/nonexistent"}, 2, "linkhaven-gateway: cannot read log configuration file /nonexistent" + strTail},
        {{"--set", "linkhaven.gw.pstn.spans=1", "--help"}, 0, "", strUsage},
        {{"--version"}, 0, "", "linkhaven-gateway " LINKHAVEN_VERSION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.vArgs));
        std::vector<const char*> vArgv = {"linkhaven-gateway"};
        for (const std::string& strArg : c.vArgs)
            vArgv.push_back(strArg.c_str());
        std::ostringstream out, err;
        GatewayConfig config;
        EXPECT_EQ(config.load(static_cast<int>(vArgv.size()), vArgv.data(), out, err), c.exitStatus);
        EXPECT_EQ(err.str(), c.strErr);
        EXPECT_EQ(out.str().substr(0, out.str().find('\n')), c.strOut);
        if (c.exitStatus)
            continue;
        int nPort = 0, nSpans = 0;
        EXPECT_TRUE(GlobalConfig::getInstance()->getInt("linkhaven.oam.webServicePort", nPort) && GlobalConfig::getInstance()->getInt(GatewayConfig::SPAN_COUNT_KEY, nSpans));
        EXPECT_EQ(std::make_pair(nPort, nSpans), std::make_pair(c.nPort, c.nSpans));
    }
    std::remove(strFile.c_str());
    std::remove(strBadFile.c_str());
}
