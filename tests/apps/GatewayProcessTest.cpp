#include <spawn.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/Loopback.h"

namespace {
// The threads of a process that may run on CPU 0 only.
int threadsOnCpu0Only(pid_t in_pid)
{
    const std::string strTasks = "/proc/" + std::to_string(in_pid) + "/task";
    int nThreads = 0;
    for (const auto& task : std::filesystem::directory_iterator(strTasks)) {
        std::ifstream status(task.path() / "status");
        std::string strLine;
        while (std::getline(status, strLine))
            nThreads += strLine == "Cpus_allowed_list:\t0";
    }
    return nThreads;
}
} // namespace

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
        // The demo's manager thread and its four web-service threads share CPU 0; the last of those
        // threads may start just after the gateway says it serves.
        cpu_set_t cpus;
        if (sched_getaffinity(0, sizeof cpus, &cpus) == 0 && CPU_ISSET(0, &cpus) && CPU_COUNT(&cpus) > 1) {
            int nConfined = 0;
            for (int nTry = 0; nTry < 100 && (nConfined = threadsOnCpu0Only(pid)) < 5; ++nTry)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            EXPECT_EQ(nConfined, 5);
        }
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
