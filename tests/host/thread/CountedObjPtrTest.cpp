#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "host/thread/CountedObjPtr.h"
#include "host/thread/Object.h"

namespace {
struct Counted : public virtual Object
{
    explicit Counted(std::atomic<int>& io_deletions) : m_deletions(io_deletions) {}
    ~Counted() override { ++m_deletions; }
    std::atomic<int>& m_deletions;
};
struct DerivedCounted : public Counted
{
    using Counted::Counted;
};
} // namespace

TEST(CountedObjPtr, TheLastHandleDeletesTheObjectExactlyOnce)
{
    std::atomic<int> deletions{0};
    CountedObjPtr<Counted> empty;
    EXPECT_TRUE(empty.isNull());
    EXPECT_FALSE(empty.unique());
    {
        CountedObjPtr<Counted> first(new Counted(deletions));
        EXPECT_TRUE(first.unique());
        CountedObjPtr<Counted> copy(first);
        EXPECT_FALSE(first.unique());
        CountedObjPtr<Counted> moved(std::move(copy));
        EXPECT_TRUE(copy.isNull());
        empty = moved;
        moved = moved;
        first.reset();
        moved.reset();
        EXPECT_EQ(deletions, 0);
        EXPECT_TRUE(empty.unique());
        EXPECT_EQ(&empty->m_deletions, &deletions);
    }
    EXPECT_EQ(deletions, 0) << "empty still holds it";
    empty = CountedObjPtr<Counted>();
    EXPECT_EQ(deletions, 1);

    CountedObjPtr<DerivedCounted, TSReferenceCount> derived(new DerivedCounted(deletions));
    CountedObjPtr<Counted, TSReferenceCount> base(derived);
    derived.reset();
    EXPECT_EQ(deletions, 1) << "the count is shared with the handle on the base";
    base.reset();
    EXPECT_EQ(deletions, 2);
}

TEST(CountedObjPtr, ThreadSafeCountDeletesOnceWhenHandlesGoOnManyThreads)
{
    std::atomic<int> deletions{0};
    std::vector<std::thread> vThreads;
    {
        CountedObjPtr<Counted, TSReferenceCount> shared(new Counted(deletions));
        for (int i = 0; i < 4; ++i)
            vThreads.emplace_back([handle = shared] {
                for (int j = 0; j < 10000; ++j) {
                    CountedObjPtr<Counted, TSReferenceCount> copy(handle);
                    ASSERT_FALSE(copy.isNull());
                }
            });
    }
    for (std::thread& thread : vThreads)
        thread.join();
    EXPECT_EQ(deletions, 1);
}
