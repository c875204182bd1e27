#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <regex>
#include <thread>

#include "host/infra/CoreDump.h"
#include "tests/support/LogCapture.h"

namespace {
struct TempDir
{
    std::string strPath = mkdtemp(std::string("/tmp/linkhaven-core-XXXXXX").data());
    ~TempDir() { std::filesystem::remove_all(strPath); }
};

// Each thread waits in a function of its own, which its stack in the image must name.
template <int N> __attribute__((noinline)) void parkedInTask(std::promise<void>* out_pParked, std::shared_future<void> in_release)
{
    out_pParked->set_value();
    in_release.wait();
}

__attribute__((noinline)) void dumpingFromTask(const std::string& in_strPath, std::size_t* out_pThreads, bool* out_pWritten)
{
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    *out_pThreads = static_cast<std::size_t>(std::distance(begin(tasks), end(tasks)));
    *out_pWritten = dumpCore(in_strPath);
}

std::size_t count(const std::string& in_strText, const std::string& in_strPattern)
{
    const std::regex pattern(in_strPattern, std::regex::multiline);
    const std::sregex_iterator matches(in_strText.begin(), in_strText.end(), pattern);
    return static_cast<std::size_t>(std::distance(matches, {}));
}
} // namespace

TEST(CoreDump, ImageShowsEveryThreadWithItsStackAndTheProcessGoesOn)
{
    const TempDir dir;
    std::promise<void> release, firstParked, secondParked;
    const std::shared_future<void> released = release.get_future().share();
    std::thread first(parkedInTask<1>, &firstParked, released), second(parkedInTask<2>, &secondParked, released);
    firstParked.get_future().wait();
    secondParked.get_future().wait();
    // As a daemon may have it: the kernel reaps gdb, whose end must not be taken for a failure.
    const auto previous = std::signal(SIGCHLD, SIG_IGN);
    std::size_t uiThreads = 0;
    bool bWritten = false;
    std::thread(dumpingFromTask, dir.strPath + "/core", &uiThreads, &bWritten).join();
    std::signal(SIGCHLD, previous);
    release.set_value();
    first.join();
    second.join();
    ASSERT_TRUE(bWritten);

    ASSERT_EQ(std::system(("gdb -nx -batch -ex 'info threads' -ex 'thread apply all bt' " +
                           std::filesystem::read_symlink("/proc/self/exe").string() + " " + dir.strPath + "/core > " +
                           dir.strPath + "/bt 2>&1").c_str()), 0);
    std::ifstream backtraces(dir.strPath + "/bt");
    const std::string strOutput((std::istreambuf_iterator<char>(backtraces)), {});
    EXPECT_EQ(count(strOutput, "^Thread [0-9]+ \\(.*\n#0 "), uiThreads) << strOutput; // each with its frames
    for (const char* szFunction : {"parkedInTask<1>", "parkedInTask<2>", "dumpingFromTask", "TestBody"})
        EXPECT_EQ(count(strOutput, std::string("::") + szFunction + " \\("), 1u) << szFunction;
}

TEST(CoreDump, FailsWithTheReasonLoggedAndLeavesNoFile)
{
    const TempDir dir;
    // An existing file is refused by the administration command's "dump-core /dev/null" row.
    const std::pair<std::string, std::string> cases[] = {
        // path, reason: a pattern, as a read-only place says so in more than one way
        {dir.strPath + "/missing/core", "No such file or directory"},
        {"/sys/linkhaven-core", "(Permission denied|Read-only file system)"},
    };
    for (const auto& [strPath, strReason] : cases) {
        SCOPED_TRACE(strPath);
        const LogCapture log("linkhaven.infra.CoreDump");
        EXPECT_FALSE(dumpCore(strPath));
        EXPECT_THAT(log.messages(), testing::ElementsAre(testing::MatchesRegex(
                                        "dumpCore : cannot write a core image to " + strPath + ": " + strReason)));
        const std::filesystem::directory_iterator files(dir.strPath);
        EXPECT_EQ(std::distance(begin(files), end(files)), 0);
    }
}
