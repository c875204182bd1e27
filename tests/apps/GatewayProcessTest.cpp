#include <spawn.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/Loopback.h"

TEST(GatewayProcess, StopsInOrderAndExitsWithZeroOnSigintAndOnSigterm)
{
    for (const int nSignal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(nSignal));
        const std::string strPort = "linkhaven.oam.webServicePort=" + std::to_string(freePort());
        const std::string strMetricsPort = "linkhaven.oam.metricsPort=" + std::to_string(freePort());
        int aLogPipe[2];
        ASSERT_EQ(pipe(aLogPipe), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, aLogPipe[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, aLogPipe[0]);
        const char* const argv[] = {LINKHAVEN_GATEWAY_PROGRAM, "--set", strPort.c_str(), "--set", strMetricsPort.c_str(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, LINKHAVEN_GATEWAY_PROGRAM, &actions, nullptr, const_cast<char* const*>(argv), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(aLogPipe[1]);

        // The log, read up to the line that says the gateway serves, then to its end as the process goes.
        FILE* const pLog = fdopen(aLogPipe[0], "r");
        std::string strLog;
        char szLine[4096];
        while (strLog.find("Gateway started") == std::string::npos && std::fgets(szLine, sizeof szLine, pLog))
            strLog += szLine;
        kill(pid, nSignal);
        while (std::fgets(szLine, sizeof szLine, pLog))
            strLog += szLine;
        std::fclose(pLog);
        int nStatus = 0;
        ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
        EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) << strLog;
        EXPECT_NE(strLog.find(std::string("Gateway stopping: ") + (nSignal == SIGINT ? "SIGINT" : "SIGTERM")), std::string::npos) << strLog;
        EXPECT_NE(strLog.find("Gateway stopped"), std::string::npos) << strLog;
        EXPECT_EQ(strLog.find(" ERROR "), std::string::npos) << strLog;
    }
}
