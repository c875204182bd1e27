#include <gtest/gtest.h>

#include <sstream>

#include "host/core/MemAccounted.h"
#include "host/core/NoSizeMemAllocator.h"
#include "tests/support/MemAccountFigure.h"

namespace {
struct Accounted : public MemAccounted<Accounted>
{
    static constexpr const char* MEM_ACCOUNT_NAME = "MemAccountingTest::Accounted";
    virtual ~Accounted() = default;
    char m_padding[24] = {};
};

struct DerivedAccounted : public Accounted
{
    char m_more[40] = {};
};
} // namespace

TEST(MemAccounting, CountsGoUpAndDownKeepingThePeakAndTheTableListsAccountsSortedByName)
{
    void* p1 = DefaultStaticMemAllocator::allocate(100, "MemAccountingTest::b");
    void* p2 = DefaultStaticMemAllocator::allocate(28, "MemAccountingTest::b");
    DefaultStaticMemAllocator::deallocate(p1, 100, "MemAccountingTest::b");
    void* p3 = DefaultStaticMemAllocator::allocate(4, "MemAccountingTest::a");
    MemAccountInfo info;
    EXPECT_FALSE(StaticAccountMemAllocator::getMemAccountInfo("MemAccountingTest::never", info));
    MemAccountInfoHash all, two;
    ASSERT_TRUE(StaticAccountMemAllocator::getMemAccountInfo(all));
    for (const char* szName : {"MemAccountingTest::b", "MemAccountingTest::a"})
        two.getAccounts()[szName] = all.getAccounts().at(szName);
    std::ostringstream stream;
    two.write(stream);
    EXPECT_EQ(stream.str(), "MemAccountingTest::a : blocks: 1, bytes: 4, peak bytes: 4, allocations: 1\n"
                            "MemAccountingTest::b : blocks: 1, bytes: 28, peak bytes: 128, allocations: 2");
    DefaultStaticMemAllocator::deallocate(p2, 28, "MemAccountingTest::b");
    DefaultStaticMemAllocator::deallocate(p3, 4, "MemAccountingTest::a");
    EXPECT_EQ(account("MemAccountingTest::b", &MemAccountInfo::m_ulLiveBytes), 0u);
}

TEST(MemAccounting, BlocksAndObjectsGiveBackWhatTheyTookAlignedAndWithTheirRealSize)
{
    void* p = NoSizeMemAllocator::allocate(10, "MemAccountingTest::nosize");
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(std::max_align_t), 0u);
    EXPECT_GE(account("MemAccountingTest::nosize", &MemAccountInfo::m_ulLiveBytes), 10u);
    NoSizeMemAllocator::deallocate(p, "MemAccountingTest::nosize");
    EXPECT_EQ(account("MemAccountingTest::nosize", &MemAccountInfo::m_ulLiveBytes), 0u);

    Accounted* pBase = new Accounted();
    Accounted* pDerived = new DerivedAccounted();
    Accounted* pArray = new Accounted[2];
    EXPECT_EQ(account(Accounted::MEM_ACCOUNT_NAME, &MemAccountInfo::m_ulLiveBlocks), 3u);
    EXPECT_GE(account(Accounted::MEM_ACCOUNT_NAME, &MemAccountInfo::m_ulLiveBytes), 3 * sizeof(Accounted) + sizeof(DerivedAccounted));
    delete pDerived;
    delete[] pArray;
    delete pBase;
    EXPECT_EQ(account(Accounted::MEM_ACCOUNT_NAME, &MemAccountInfo::m_ulLiveBytes), 0u);
}
