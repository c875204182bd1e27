#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "host/thread/CountedObjPtr.h"
#include "host/thread/Object.h"

namespace {
struct Counted : public virtual Object
{
    ~Counted() override { ++s_deletions; }
    static inline std::atomic<int> s_deletions{0};
};
struct DerivedCounted : public Counted {};
} // namespace

TEST(CountedObjPtr, TheLastHandleOnAnyThreadDeletesTheObjectExactlyOnce)
{
    Counted::s_deletions = 0;
    std::vector<std::thread> vThreads;
    {
        CountedObjPtr<DerivedCounted, TSReferenceCount> derived(new DerivedCounted);
        // The handle on the base shares the derived handles' count.
        CountedObjPtr<Counted, TSReferenceCount> base(derived);
        for (int i = 0; i < 4; ++i)
            vThreads.emplace_back([handle = i % 2 ? base : CountedObjPtr<Counted, TSReferenceCount>(derived)] {
                for (int j = 0; j < 10000; ++j)
                    CountedObjPtr<Counted, TSReferenceCount> copy(handle);
            });
    }
    for (std::thread& thread : vThreads)
        thread.join();
    EXPECT_EQ(Counted::s_deletions, 1);
}
