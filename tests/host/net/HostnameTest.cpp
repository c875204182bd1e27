#include <gtest/gtest.h>

#include <sched.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/net/Hostname.h"

TEST(Hostname, IsTheNameTheKernelKnowsTheMachineBy)
{
    utsname system{};
    ASSERT_EQ(uname(&system), 0);
    std::string strName = "???";
    ASSERT_TRUE(getHostname(strName));
    EXPECT_EQ(strName, system.nodename);
}

// Needs the right to make a UTS namespace (root, as on CI); skipped elsewhere.
TEST(Hostname, IsUnavailableWhenTheMachineHasNoName)
{
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (unshare(CLONE_NEWUTS) != 0 || sethostname("", 0) != 0)
            _exit(2);
        std::string strName = "kept";
        _exit(!getHostname(strName) && strName == "kept" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "no right to make a UTS namespace";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
