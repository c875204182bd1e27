#include <gtest/gtest.h>

#include <sched.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/net/Hostname.h"

// The second case needs the right to make a UTS namespace (root, as on CI); it is skipped elsewhere.
TEST(Hostname, IsTheNameTheKernelKnowsTheMachineByAndUnavailableWhenItHasNone)
{
    utsname system{};
    std::string strName = "???";
    ASSERT_TRUE(uname(&system) == 0 && getHostname(strName));
    EXPECT_EQ(strName, system.nodename);

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (unshare(CLONE_NEWUTS) != 0 || sethostname("", 0) != 0)
            _exit(2);
        std::string strKept = "kept";
        _exit(!getHostname(strKept) && strKept == "kept" ? 0 : 1);
    }
    int status = 0;
    ASSERT_TRUE(waitpid(child, &status, 0) == child && WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "no right to make a UTS namespace";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
