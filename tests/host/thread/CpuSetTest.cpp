#include "host/thread/CpuSet.h"

#include <pthread.h>

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

TEST(CpuSet, RefusesWhatIsNotAListOfCpusWithTheReason)
{
    const std::string NOT_A_LIST = "not a list of CPUs such as 0-3,6: ";
    const struct Case {
        std::string strList;
        std::string strError;
    } cases[] = {
        {"", NOT_A_LIST + "\"\""},
        {"a", NOT_A_LIST + "\"a\""},
        {"0 ", NOT_A_LIST + "\"0 \""},
        {"-1", NOT_A_LIST + "\"-1\""},
        {"1-", NOT_A_LIST + "\"1-\""},
        {"3-1", NOT_A_LIST + "\"3-1\""},
        {"0,,1", NOT_A_LIST + "\"0,,1\""},
        {"0,", NOT_A_LIST + "\"0,\""},
        {"0-1-2", NOT_A_LIST + "\"0-1-2\""},
        {"1024", "CPU 1024 is beyond the largest CPU number 1023"},
        {"0-99999999999", "CPU 99999999999 is beyond the largest CPU number 1023"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strList);
        CpuSet set;
        std::string strError;
        EXPECT_FALSE(CpuSet::parse(c.strList, set, strError));
        EXPECT_EQ(strError, c.strError);
    }
}

TEST(CpuSet, ConfinesOnlyTheCallingThreadAndOnlyToCpusItMayUse)
{
    cpu_set_t processCpus;
    ASSERT_EQ(sched_getaffinity(0, sizeof processCpus, &processCpus), 0);
    if (!CPU_ISSET(0, &processCpus) || !CPU_ISSET(1, &processCpus))
        GTEST_SKIP() << "needs CPUs 0 and 1";
    const struct Case {
        std::string strList;
        std::vector<int> vCpus; // empty: refused, the thread left on the process's CPUs
        std::string strError;
    } cases[] = {
        {"0", {0}, ""},
        {"0-1", {0, 1}, ""},
        {"1,0", {0, 1}, ""},
        {"1023", {}, "none of these CPUs is available to this process"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strList);
        bool bConfined = false;
        std::string strError;
        cpu_set_t cpus;
        std::thread([&] {
            CpuSet set;
            bConfined = CpuSet::parse(c.strList, set, strError) && set.confineCallingThread(strError);
            pthread_getaffinity_np(pthread_self(), sizeof cpus, &cpus);
        }).join();
        EXPECT_EQ(bConfined, !c.vCpus.empty());
        EXPECT_EQ(strError, c.strError);
        cpu_set_t expected;
        CPU_ZERO(&expected);
        for (const int nCpu : c.vCpus)
            CPU_SET(nCpu, &expected);
        EXPECT_TRUE(CPU_EQUAL(&cpus, c.vCpus.empty() ? &processCpus : &expected));
    }
    cpu_set_t mainCpus;
    pthread_getaffinity_np(pthread_self(), sizeof mainCpus, &mainCpus);
    EXPECT_TRUE(CPU_EQUAL(&mainCpus, &processCpus));
}
