#include <gtest/gtest.h>

#include <memory>

#include <ace/Method_Request.h>

#include "host/core/Assertion.h"
#include "host/thread/ActivationQueue.h"
#include "host/thread/StackIDGenerator.h"
#include "host/thread/TaskObjectProxyNoT.h"

namespace {
class NotingMO : public ACE_Method_Request
{
  public:
    explicit NotingMO(bool& out_bDeleted) : m_bDeleted(out_bDeleted) {}
    ~NotingMO() override { m_bDeleted = true; }
    int call() override { return 0; }

  private:
    bool& m_bDeleted;
};
} // namespace

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

TEST(TaskObjectProxyNoT, DrawsOneIdReachesItsQueueAndDropsWhatComesOnceTheQueueIsGone)
{
    StackIDGenerator generator(true);
    {
        auto pQueue = std::make_unique<ActivationQueue>();
        TaskObjectProxyNoT proxy(generator, *pQueue);
        EXPECT_EQ(proxy.getProxyID(), 0u);
        bool bQueuedDeleted = false, bLateDeleted = false;
        EXPECT_TRUE(proxy.enqueueToOwner(new NotingMO(bQueuedDeleted), "test"));
        EXPECT_FALSE(bQueuedDeleted);
        pQueue.reset();
        EXPECT_TRUE(bQueuedDeleted);
        EXPECT_FALSE(proxy.enqueueToOwner(new NotingMO(bLateDeleted), "test"));
        EXPECT_TRUE(bLateDeleted);
    }
    EXPECT_EQ(generator.getID(), 1u) << "the proxy does not give its identifier back";
}
