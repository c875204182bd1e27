#include <gtest/gtest.h>

#include <sstream>
#include <thread>
#include <vector>

#include "host/core/MemAccounted.h"
#include "host/core/NoSizeMemAllocator.h"

namespace {
MemAccountInfo infoOf(const std::string& in_strAccount)
{
    MemAccountInfo info;
    EXPECT_TRUE(StaticAccountMemAllocator::getMemAccountInfo(in_strAccount, info)) << in_strAccount;
    return info;
}

std::string written(const std::string& in_strAccount)
{
    std::ostringstream stream;
    infoOf(in_strAccount).write(stream);
    return stream.str();
}

class Accounted : public MemAccounted<Accounted>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "MemAccountingTest::Accounted";
    virtual ~Accounted() = default;
    char m_padding[24] = {};
};

class DerivedAccounted : public Accounted
{
    char m_more[40] = {};
};
} // namespace

TEST(MemAccounting, CountsGoUpOnAllocationAndDownOnDeallocationKeepingThePeak)
{
    const char* szAccount = "MemAccountingTest::sized";
    void* p1 = DefaultStaticMemAllocator::allocate(100, szAccount);
    void* p2 = DefaultStaticMemAllocator::allocate(28, szAccount);
    EXPECT_EQ(written(szAccount), "blocks: 2, bytes: 128, peak bytes: 128, allocations: 2");
    DefaultStaticMemAllocator::deallocate(p1, 100, szAccount);
    DefaultStaticMemAllocator::deallocate(p2, 28, szAccount);
    EXPECT_EQ(written(szAccount), "blocks: 0, bytes: 0, peak bytes: 128, allocations: 2");

    void* p = NoSizeMemAllocator::allocate(10, "MemAccountingTest::nosize");
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(std::max_align_t), 0u);
    NoSizeMemAllocator::deallocate(p, "MemAccountingTest::nosize");
    EXPECT_EQ(infoOf("MemAccountingTest::nosize").m_ulLiveBytes, 0u) << "the whole block is given back";
}

TEST(MemAccounting, AnAccountedClassCountsItsObjectsWithTheirRealSize)
{
    Accounted* pBase = new Accounted();
    Accounted* pDerived = new DerivedAccounted();
    Accounted* pArray = new Accounted[2];
    EXPECT_EQ(infoOf(Accounted::MEM_ACCOUNT_NAME).m_ulLiveBlocks, 3u);
    EXPECT_GE(infoOf(Accounted::MEM_ACCOUNT_NAME).m_ulLiveBytes, 3 * sizeof(Accounted) + sizeof(DerivedAccounted));
    delete pDerived;
    delete[] pArray;
    delete pBase;
    EXPECT_EQ(infoOf(Accounted::MEM_ACCOUNT_NAME).m_ulLiveBytes, 0u) << "each object gives back what it took";
}

TEST(MemAccounting, ThreadsAllocatingAndFreeingTogetherLeaveExactCounts)
{
    MemAccount& account = StaticAccountMemAllocator::getAccount("MemAccountingTest::threads");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&account] {
            for (int i = 0; i < 1000; ++i)
                DefaultStaticMemAllocator::deallocate(DefaultStaticMemAllocator::allocate(16, account), 16, account);
        });
    for (std::thread& thread : threads)
        thread.join();
    const MemAccountInfo info = account.getInfo();
    EXPECT_EQ(info.m_ulAllocations, 4000u);
    EXPECT_EQ(info.m_ulLiveBytes, 0u);
    EXPECT_TRUE(info.m_ulPeakBytes >= 16 && info.m_ulPeakBytes <= 64) << info.m_ulPeakBytes;
}

TEST(MemAccounting, UnknownAccountsFailAndTheHashListsEveryAccountSortedByName)
{
    MemAccountInfo info;
    EXPECT_FALSE(StaticAccountMemAllocator::getMemAccountInfo("MemAccountingTest::never", info));
    void* pB = DefaultStaticMemAllocator::allocate(8, "MemAccountingTest::hash.b");
    void* pA = DefaultStaticMemAllocator::allocate(4, "MemAccountingTest::hash.a");
    MemAccountInfoHash all, two;
    ASSERT_TRUE(StaticAccountMemAllocator::getMemAccountInfo(all));
    for (const char* szName : {"MemAccountingTest::hash.b", "MemAccountingTest::hash.a"})
        two.getAccounts()[szName] = all.getAccounts().at(szName);
    std::ostringstream stream;
    two.write(stream);
    EXPECT_EQ(stream.str(), "MemAccountingTest::hash.a : blocks: 1, bytes: 4, peak bytes: 4, allocations: 1\n"
                            "MemAccountingTest::hash.b : blocks: 1, bytes: 8, peak bytes: 8, allocations: 1");
    DefaultStaticMemAllocator::deallocate(pA, 4, "MemAccountingTest::hash.a");
    DefaultStaticMemAllocator::deallocate(pB, 8, "MemAccountingTest::hash.b");
}
