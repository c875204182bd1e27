// The synchronous round trip of a command: caller thread to the executer's thread and back
// through the future, with a local handler, and fanned out to 1..16 child executers.

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>
#include <log4cplus/nullappender.h>

#include "host/core/Logger.h"
#include "host/thread/StaticReactorTaskImpl.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"
#include "oam/command/SoapOAMCommand.h"

namespace {

class EchoHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand&, SoapOAM__OAMCommandExecResult& io_result) override
    {
        io_result.m_strStatusText = "ok";
        return true;
    }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << "echo"; }
    bool checkUsage(const OAMCommand&, SoapOAM__OAMCommandExecResult&) const override { return true; }
};

// Handles "echo" itself when asked to; otherwise hands everything to its children.
class BenchExecuterTask : public StaticReactorTaskImpl, public OAMCmdExecuterTaskImpl
{
  public:
    BenchExecuterTask(const char* in_szName, bool in_bHandlesEcho)
        : m_pEcho(in_bHandlesEcho ? new EchoHandler() : nullptr)
    {
        setTaskName(in_szName);
    }
    ~BenchExecuterTask() override
    {
        stopKillExit(ACE_Time_Value(10));
    }

  protected:
    CmdExecutionHandlerPtr findCmdExecHandler_i(const OAMCommand&) override { return m_pEcho; }

  private:
    CmdExecutionHandlerPtr m_pEcho;
};

// Per-call latencies: median and 99th percentile, in microseconds.
void reportLatencies(benchmark::State& io_state, std::vector<double>& io_vMicros)
{
    if (io_vMicros.empty())
        return;
    std::sort(io_vMicros.begin(), io_vMicros.end());
    io_state.counters["p50_us"] = io_vMicros[io_vMicros.size() / 2];
    io_state.counters["p99_us"] = io_vMicros[io_vMicros.size() * 99 / 100];
    io_state.SetItemsProcessed(static_cast<int64_t>(io_vMicros.size()));
}

void runRoundTrips(benchmark::State& io_state, BenchExecuterTask& io_task)
{
    SoapOAMCommand cmd;
    cmd.setName("echo");
    std::vector<double> vMicros;
    vMicros.reserve(1 << 20);
    for (auto _ : io_state) {
        SoapOAM__OAMCommandExecResult result;
        const auto start = std::chrono::steady_clock::now();
        const bool bAnswered = io_task.executeCommand(cmd, result, ACE_Time_Value(10));
        vMicros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        if (!bAnswered || !result.m_bExecSuccess)
            io_state.SkipWithError("no answer");
    }
    reportLatencies(io_state, vMicros);
}

void BM_LocalHandlerRoundTrip(benchmark::State& io_state)
{
    BenchExecuterTask task("bench-local", true);
    task.start();
    task.waitForStart();
    runRoundTrips(io_state, task);
}
BENCHMARK(BM_LocalHandlerRoundTrip)->UseRealTime();

void BM_FanOutRoundTrip(benchmark::State& io_state)
{
    BenchExecuterTask parent("bench-parent", false);
    std::vector<BenchExecuterTask*> vChildren;
    for (int64_t i = 0; i < io_state.range(0); ++i) {
        // Only the last child handles the command; the others answer "not supported".
        auto* pChild = new BenchExecuterTask("bench-child", i + 1 == io_state.range(0));
        parent.addCmdExecuter(OAMCmdExecuterTaskImpl::ChildExecuterPtr(pChild));
        vChildren.push_back(pChild);
    }
    for (BenchExecuterTask* pChild : vChildren)
        pChild->start();
    parent.start();
    parent.waitForStart();
    runRoundTrips(io_state, parent);
}
BENCHMARK(BM_FanOutRoundTrip)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Arg(16)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // Log lines go nowhere: the benchmark measures the round trip, not the console.
    log4cplus::Logger root = Logger().getLog4cplusLogger();
    root.addAppender(log4cplus::SharedAppenderPtr(new log4cplus::NullAppender()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
