#pragma once
// What the benchmarks share: the bare active object that ACE offers for a round trip (an
// ACE_Activation_Queue serviced by one thread, answering through an ACE_Future), which the module's
// trips are measured against; the latencies of calls timed one by one; and the run itself, at the
// log level of a running gateway.

#include <algorithm>
#include <chrono>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include <ace/Activation_Queue.h>
#include <ace/Future.h>
#include <ace/Method_Request.h>
#include <benchmark/benchmark.h>
#include <log4cplus/nullappender.h>

#include "host/core/Logger.h"

class BareActiveObject
{
  public:
    BareActiveObject() : m_thread([this] { serve(); }) {}
    ~BareActiveObject()
    {
        m_queue.enqueue(new End_MO());
        m_thread.join();
    }
    // "Success", from the servicing thread.
    std::string call()
    {
        ACE_Future<std::string> future;
        m_queue.enqueue(new Answer_MO(future));
        std::string strAnswer;
        future.get(strAnswer);
        return strAnswer;
    }

  private:
    class Answer_MO : public ACE_Method_Request
    {
      public:
        explicit Answer_MO(ACE_Future<std::string> in_future) : m_future(in_future) {}
        int call() override
        {
            m_future.set("Success");
            return 0;
        }

      private:
        ACE_Future<std::string> m_future;
    };

    // Ends the servicing thread.
    class End_MO : public ACE_Method_Request
    {
      public:
        int call() override { return -1; }
    };

    void serve()
    {
        for (int nStatus = 0; nStatus == 0;) {
            ACE_Method_Request* pMO = m_queue.dequeue();
            nStatus = pMO->call();
            delete pMO;
        }
    }
    ACE_Activation_Queue m_queue;
    std::thread m_thread;
};

struct Latencies
{
    std::vector<double> vMicros;

    // The call gives whether it got the answer it should.
    template <class Call>
    void time(Call in_call, benchmark::State& io_state)
    {
        const auto start = std::chrono::steady_clock::now();
        if (!in_call())
            io_state.SkipWithError("no answer");
        vMicros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    double percentile(unsigned in_uiPercent)
    {
        std::sort(vMicros.begin(), vMicros.end());
        return vMicros.empty() ? 0.0 : vMicros[vMicros.size() * in_uiPercent / 100];
    }
    double callsPerSecond() const
    {
        const double dTotal = std::accumulate(vMicros.begin(), vMicros.end(), 0.0);
        return dTotal > 0 ? vMicros.size() * 1e6 / dTotal : 0.0;
    }
};

// The body of main: debug lines are neither built nor written, as in a running gateway.
inline int runBenchmarks(int argc, char** argv)
{
    log4cplus::Logger root = Logger().getLog4cplusLogger();
    root.addAppender(log4cplus::SharedAppenderPtr(new log4cplus::NullAppender()));
    root.setLogLevel(log4cplus::INFO_LOG_LEVEL);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
