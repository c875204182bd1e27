#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "host/core/Assertion.h"
#include "host/thread/ActivationQueue.h"
#include "host/thread/StackIDGenerator.h"
#include "host/thread/TaskObjectProxyNoT.h"

TEST(StackIDGenerator, IdsStartAtZeroAndTheLastTakenBackIsReusedFirst)
{
    StackIDGenerator generator(false);
    EXPECT_EQ(generator.getID(), 0u);
    EXPECT_EQ(generator.getID(), 1u);
    EXPECT_EQ(generator.getID(), 2u);
    generator.takeBack(0);
    generator.takeBack(2);
    EXPECT_EQ(generator.getID(), 2u);
    EXPECT_EQ(generator.getID(), 0u);
    EXPECT_EQ(generator.getID(), 3u);

    AssertionCapture capture;
    generator.takeBack(1);
    generator.takeBack(1);
    generator.takeBack(7);
    EXPECT_EQ(capture.conditions().size(), 2u) << "an id that is not out is reported, and not reused";
    EXPECT_EQ(generator.getID(), 1u);
    EXPECT_EQ(generator.getID(), 4u);
}

TEST(StackIDGenerator, ThreadSafeOneGivesEveryThreadItsOwnIds)
{
    StackIDGenerator generator(true);
    std::vector<std::uint64_t> vFirst, vSecond;
    auto draw = [&generator](std::vector<std::uint64_t>& out_vIds) {
        for (int i = 0; i < 1000; ++i) {
            out_vIds.push_back(generator.getID());
            if (i % 2)
                generator.takeBack(out_vIds.back()), out_vIds.pop_back();
        }
    };
    std::thread other(draw, std::ref(vSecond));
    draw(vFirst);
    other.join();
    std::set<std::uint64_t> ids(vFirst.begin(), vFirst.end());
    ids.insert(vSecond.begin(), vSecond.end());
    EXPECT_EQ(ids.size(), 1000u);
    EXPECT_LT(*ids.rbegin(), 1002u) << "ids taken back are reused, so they stay small";
}

TEST(TaskObjectProxyNoT, DrawsOneIdAndDoesNotGiveItBack)
{
    StackIDGenerator generator(false);
    ActivationQueue queue;
    {
        TaskObjectProxyNoT proxy(generator, &queue);
        EXPECT_EQ(proxy.getProxyID(), 0u);
        EXPECT_EQ(proxy.getActivationQueue(), &queue);
    }
    EXPECT_EQ(generator.getID(), 1u);
}
