#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "oam/snmp/AlarmEventQueue.h"
#include "oam/snmp/DateAndTime.h"

using namespace std::chrono;

TEST(AlarmEventQueue, WakesOnlyWhenItWasEmptyAndDropsTheOldestWhenFull)
{
    AlarmEventQueue queue(3);
    std::vector<bool> vWakes;
    for (const char* szName : {"a", "b", "c", "d", "e"})
        vWakes.push_back(queue.push({szName, "", true, {}}));
    EXPECT_EQ(vWakes, (std::vector<bool>{true, false, false, false, false}));
    std::string strNames;
    for (const AlarmEventQueue::Event& event : queue.takeAll())
        strNames += event.strName;
    EXPECT_EQ(strNames, "cde");
    // Emptied, the next raise must wake the subagent again.
    EXPECT_TRUE(queue.push({"f", "", false, {}}));
}

TEST(DateAndTime, EncodesTheMomentInUtcWithDeciSeconds)
{
    struct Case
    {
        system_clock::time_point time;
        std::vector<unsigned char> vOctets;
    };
    const Case cases[] = {
        {system_clock::time_point(seconds(0)), {7, 178, 1, 1, 0, 0, 0, 0, '+', 0, 0}},
        // 2026-12-08 14:57:54.375 UTC: the year across two octets, the month counted from 1.
        {system_clock::time_point(milliseconds(1796741874375)), {7, 234, 12, 8, 14, 57, 54, 3, '+', 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time.time_since_epoch().count());
        const std::string strEncoded = encodeDateAndTime(c.time);
        EXPECT_EQ(std::vector<unsigned char>(strEncoded.begin(), strEncoded.end()), c.vOctets);
    }
}
