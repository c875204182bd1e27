#include <gtest/gtest.h>

#include "host/core/Assertion.h"
#include "host/thread/ActivationQueue.h"
#include "host/thread/StackIDGenerator.h"
#include "host/thread/TaskObjectProxyNoT.h"

TEST(StackIDGenerator, IdsStartAtZeroAndTheLastTakenBackIsReusedFirst)
{
    StackIDGenerator generator(false);
    for (std::uint64_t ulExpected : {0, 1, 2})
        EXPECT_EQ(generator.getID(), ulExpected);
    generator.takeBack(0);
    generator.takeBack(2);
    for (std::uint64_t ulExpected : {2, 0, 3})
        EXPECT_EQ(generator.getID(), ulExpected);

    AssertionCapture capture;
    generator.takeBack(1);
    generator.takeBack(1);
    generator.takeBack(7);
    EXPECT_EQ(capture.conditions().size(), 2u) << "an id that is not out is reported, and not reused";
    EXPECT_EQ(generator.getID(), 1u);
    EXPECT_EQ(generator.getID(), 4u);
}

TEST(TaskObjectProxyNoT, DrawsOneIdAndDoesNotGiveItBack)
{
    StackIDGenerator generator(true);
    ActivationQueue queue;
    {
        TaskObjectProxyNoT proxy(generator, &queue);
        EXPECT_EQ(proxy.getProxyID(), 0u);
        EXPECT_EQ(proxy.getActivationQueue(), &queue);
    }
    EXPECT_EQ(generator.getID(), 1u);
}
