#include <gtest/gtest.h>

#include "host/core/SingletonRegistry.h"

TEST(SingletonRegistry, TheFirstRegistrationUnderANameWinsAndLaterOnesGetIt)
{
    static int s_first = 1, s_second = 2;
    SingletonRegistry& registry = SingletonRegistry::getInstance();
    EXPECT_EQ(registry.registerSingleton("SingletonRegistryTest::Singleton", &s_first, nullptr, nullptr), &s_first);
    EXPECT_EQ(registry.registerSingleton("SingletonRegistryTest::Singleton", &s_second, nullptr, nullptr), &s_first);
    EXPECT_EQ(registry.find("SingletonRegistryTest::Singleton"), &s_first);
}
