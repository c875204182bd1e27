#include <gtest/gtest.h>

#include <vector>

#include "host/core/Assertion.h"
#include "host/thread/StackIDGenerator.h"

TEST(StackIDGenerator, IdsStartAtZeroTheLastTakenBackIsReusedFirstAndOnesNotOutAreReported)
{
    StackIDGenerator generator(false);
    AssertionCapture capture;
    std::vector<std::uint64_t> vIds;
    for (int i = 0; i < 3; ++i)
        vIds.push_back(generator.getID());
    for (std::uint64_t ulId : {0, 2, 1, 1, 7})
        generator.takeBack(ulId);
    for (int i = 0; i < 4; ++i)
        vIds.push_back(generator.getID());
    EXPECT_EQ(vIds, (std::vector<std::uint64_t>{0, 1, 2, 1, 2, 0, 3}));
    EXPECT_EQ(capture.conditions().size(), 2u) << "an id that is not out is reported, and not reused";
}
