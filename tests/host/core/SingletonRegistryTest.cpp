#include <gtest/gtest.h>

#include "host/core/SingletonRegistry.h"

namespace {
void deleteInt(void* in_pObject, void*) { delete static_cast<int*>(in_pObject); }
} // namespace

TEST(SingletonRegistry, TheFirstRegistrationUnderANameWinsAndLaterOnesGetIt)
{
    SingletonRegistry& registry = SingletonRegistry::getInstance();
    EXPECT_EQ(registry.find("SingletonRegistryTest::Singleton"), nullptr);
    int* pFirst = new int(1);
    EXPECT_EQ(registry.registerSingleton("SingletonRegistryTest::Singleton", pFirst, &deleteInt, nullptr), pFirst);
    int* pSecond = new int(2);
    EXPECT_EQ(registry.registerSingleton("SingletonRegistryTest::Singleton", pSecond, &deleteInt, nullptr), pFirst);
    delete pSecond; // still the caller's
    EXPECT_EQ(registry.find("SingletonRegistryTest::Singleton"), pFirst);
}
