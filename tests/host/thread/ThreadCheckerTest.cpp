#include <thread>

#include <gtest/gtest.h>

#include "host/thread/ThreadChecker.h"

TEST(ThreadCheckerDeathTest, PassesOnItsThreadAndWhileUnboundAndAbortsElsewhere)
{
#ifdef NDEBUG
    GTEST_SKIP() << "the checks vanish in release builds";
#else
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    ThreadChecker checker;
    std::thread([&checker] { LH_CHECK_THREAD(checker); }).join();
    checker.bindToCurrentThread();
    LH_CHECK_THREAD(checker);
    EXPECT_DEATH(std::thread([&checker] { LH_CHECK_THREAD(checker); }).join(), "runs off its task's thread");
    checker.release();
    std::thread([&checker] { LH_CHECK_THREAD(checker); }).join();
#endif
}
