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

std::string written(const MemAccountInfo& in_info)
{
    std::ostringstream stream;
    in_info.write(stream);
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
  public:
    char m_more[40] = {};
};
} // namespace

TEST(MemAccounting, CountsGoUpOnAllocationAndDownOnDeallocationKeepingThePeak)
{
    const char* szAccount = "MemAccountingTest::sized";
    void* p1 = DefaultStaticMemAllocator::allocate(100, szAccount);
    void* p2 = DefaultStaticMemAllocator::allocate(28, szAccount);
    EXPECT_EQ(written(infoOf(szAccount)), "blocks: 2, bytes: 128, peak bytes: 128, allocations: 2");

    DefaultStaticMemAllocator::deallocate(p1, 100, szAccount);
    EXPECT_EQ(written(infoOf(szAccount)), "blocks: 1, bytes: 28, peak bytes: 128, allocations: 2");
    DefaultStaticMemAllocator::deallocate(p2, 28, szAccount);
    EXPECT_EQ(written(infoOf(szAccount)), "blocks: 0, bytes: 0, peak bytes: 128, allocations: 2");
}

TEST(MemAccounting, NoSizeBlocksAreAlignedAndGiveTheirWholeStorageBack)
{
    const char* szAccount = "MemAccountingTest::nosize";
    void* p = NoSizeMemAllocator::allocate(10, szAccount);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(std::max_align_t), 0u);
    EXPECT_EQ(infoOf(szAccount).m_ulLiveBlocks, 1u);
    EXPECT_GE(infoOf(szAccount).m_ulLiveBytes, 10u);
    NoSizeMemAllocator::deallocate(p, szAccount);
    EXPECT_EQ(infoOf(szAccount).m_ulLiveBytes, 0u);
}

TEST(MemAccounting, AnAccountedClassCountsItsObjectsWithTheirRealSize)
{
    Accounted* pBase = new Accounted();
    Accounted* pDerived = new DerivedAccounted();
    EXPECT_EQ(infoOf(Accounted::MEM_ACCOUNT_NAME).m_ulLiveBlocks, 2u);
    EXPECT_EQ(infoOf(Accounted::MEM_ACCOUNT_NAME).m_ulLiveBytes, sizeof(Accounted) + sizeof(DerivedAccounted));
    delete pDerived;
    EXPECT_EQ(infoOf(Accounted::MEM_ACCOUNT_NAME).m_ulLiveBytes, sizeof(Accounted));
    delete pBase;
    EXPECT_EQ(infoOf(Accounted::MEM_ACCOUNT_NAME).m_ulLiveBlocks, 0u);
}

TEST(MemAccounting, ThreadsAllocatingAndFreeingTogetherLeaveExactCounts)
{
    const char* szAccount = "MemAccountingTest::threads";
    MemAccount& account = StaticAccountMemAllocator::getAccount(szAccount);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&account] {
            for (int i = 0; i < 1000; ++i)
                DefaultStaticMemAllocator::deallocate(DefaultStaticMemAllocator::allocate(16, account), 16, account);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    const MemAccountInfo info = infoOf(szAccount);
    EXPECT_EQ(info.m_ulAllocations, 4000u);
    EXPECT_EQ(info.m_ulLiveBlocks, 0u);
    EXPECT_EQ(info.m_ulLiveBytes, 0u);
    EXPECT_GE(info.m_ulPeakBytes, 16u);
    EXPECT_LE(info.m_ulPeakBytes, 64u);
}

TEST(MemAccounting, UnknownAccountsFailAndTheHashListsEveryAccountSortedByName)
{
    MemAccountInfo info;
    EXPECT_FALSE(StaticAccountMemAllocator::getMemAccountInfo("MemAccountingTest::never", info));

    void* pB = DefaultStaticMemAllocator::allocate(8, "MemAccountingTest::hash.b");
    void* pA = DefaultStaticMemAllocator::allocate(4, "MemAccountingTest::hash.a");
    MemAccountInfoHash hash;
    ASSERT_TRUE(StaticAccountMemAllocator::getMemAccountInfo(hash));
    EXPECT_EQ(hash.getAccounts().count("MemAccountingTest::hash.a"), 1u);

    MemAccountInfoHash two;
    two.getAccounts() = {{"b", hash.getAccounts().at("MemAccountingTest::hash.b")},
                         {"a", hash.getAccounts().at("MemAccountingTest::hash.a")}};
    std::ostringstream stream;
    two.write(stream);
    EXPECT_EQ(stream.str(), "a : blocks: 1, bytes: 4, peak bytes: 4, allocations: 1\n"
                            "b : blocks: 1, bytes: 8, peak bytes: 8, allocations: 1");
    DefaultStaticMemAllocator::deallocate(pA, 4, "MemAccountingTest::hash.a");
    DefaultStaticMemAllocator::deallocate(pB, 8, "MemAccountingTest::hash.b");
}
