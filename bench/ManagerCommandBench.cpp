// The manager's synchronous command ("get-run-mode", a built-in) against the bare active object
// that ACE offers for the same trip: an ACE_Activation_Queue serviced by one thread, answering
// through an ACE_Future. Two more trips isolate the hop: a method object on a reactor task of the
// host layer answered through the synchronous entries' future, and the wake-up that reactor tasks
// had before, a notify through an ACE reactor's pipe answered through an ACE_Future. The four
// alternate call by call, so that they share whatever else the machine is doing.

#include <string>
#include <thread>

#include <ace/Future.h>
#include <ace/Reactor.h>
#include <ace/Select_Reactor.h>
#include <benchmark/benchmark.h>

#include "bench/BenchSupport.h"
#include "host/infra/RWConfiguration.h"
#include "host/thread/OneShotFuture.h"
#include "host/thread/StaticReactorTaskImpl.h"
#include "oam/command/SoapOAMCommand.h"
#include "oam/manager/OAMManager.h"

namespace {

// The hop alone: a method object on a reactor task, answered as the synchronous entries are.
class HopTask : public StaticReactorTaskImpl
{
  public:
    HopTask()
    {
        setTaskName("bench-hop");
        start();
        waitForStart();
    }
    ~HopTask() override
    {
        stop();
        waitUntilDone();
    }
    std::string call()
    {
        OneShotFuture<std::string> answer;
        enqueue(new Answer_MO(answer), "HopTask::call");
        std::string strAnswer;
        answer.get(strAnswer, Deadline(ACE_Time_Value(10)));
        return strAnswer;
    }

  private:
    class Answer_MO : public ACE_Method_Request
    {
      public:
        explicit Answer_MO(const OneShotFuture<std::string>& in_answer) : m_answer(in_answer) {}
        int call() override
        {
            m_answer.set("Success");
            return MO_CALL_SUCCESS;
        }

      private:
        OneShotFuture<std::string> m_answer;
    };
};

// The wake-up of old: a notify through an ACE reactor's pipe, on the reactor's own thread.
class ReactorWakeUp : public ACE_Event_Handler
{
  public:
    ReactorWakeUp() : m_reactor(new ACE_Select_Reactor, true), m_thread([this] {
        m_reactor.owner(ACE_Thread::self());
        m_reactor.run_reactor_event_loop();
    })
    {
    }
    ~ReactorWakeUp() override
    {
        m_reactor.end_reactor_event_loop();
        m_thread.join();
    }
    std::string call()
    {
        ACE_Future<std::string> future;
        m_pending = future;
        m_reactor.notify(this, ACE_Event_Handler::EXCEPT_MASK);
        std::string strAnswer;
        future.get(strAnswer);
        return strAnswer;
    }
    int handle_exception(ACE_HANDLE) override
    {
        m_pending.set("Success");
        return 0;
    }

  private:
    ACE_Reactor m_reactor;
    // Written before the notify, read after it on the reactor's thread: the pipe orders them.
    ACE_Future<std::string> m_pending;
    std::thread m_thread;
};

// A manager without its CPU monitor, started for the scope.
class StartedManager
{
  public:
    StartedManager()
    {
        const auto hConfig = TSHandle<RWConfiguration>::make();
        hConfig->setValue("linkhaven.system.cpu.monitor.monitoringPeriodInMs", ParameterValue(0L));
        m_manager.initialize(hConfig);
        m_manager.setTaskName("bench-manager");
        m_manager.start();
        m_manager.waitForStart();
        m_cmd.setName("get-run-mode");
    }
    ~StartedManager()
    {
        m_manager.stop();
        m_manager.waitUntilDone();
    }
    // "get-run-mode", answered "Success ...".
    bool call()
    {
        SoapOAM__OAMCommandExecResult result;
        m_manager.executeCommand(m_cmd, result, ACE_Time_Value(10));
        return result.m_strStatusText.compare(0, 7, "Success") == 0;
    }

  private:
    OAMManager m_manager;
    SoapOAMCommand m_cmd;
};

void BM_ManagerAgainstBareActiveObject(benchmark::State& io_state)
{
    StartedManager manager;
    BareActiveObject bare;
    HopTask hop;
    ReactorWakeUp wakeUp;

    Latencies managerTrip, bareTrip, hopTrip, wakeUpTrip;
    for (auto _ : io_state) {
        managerTrip.time([&] { return manager.call(); }, io_state);
        bareTrip.time([&] { return bare.call() == "Success"; }, io_state);
        hopTrip.time([&] { return hop.call() == "Success"; }, io_state);
        wakeUpTrip.time([&] { return wakeUp.call() == "Success"; }, io_state);
    }

    const double dManagerP50 = managerTrip.percentile(50), dManagerP99 = managerTrip.percentile(99);
    const double dBareP50 = bareTrip.percentile(50), dBareP99 = bareTrip.percentile(99);
    io_state.counters["manager_p50_us"] = dManagerP50;
    io_state.counters["manager_p99_us"] = dManagerP99;
    io_state.counters["bare_p50_us"] = dBareP50;
    io_state.counters["bare_p99_us"] = dBareP99;
    io_state.counters["hop_p50_us"] = hopTrip.percentile(50);
    io_state.counters["hop_p99_us"] = hopTrip.percentile(99);
    io_state.counters["wakeup_p50_us"] = wakeUpTrip.percentile(50);
    io_state.counters["wakeup_p99_us"] = wakeUpTrip.percentile(99);
    io_state.counters["ratio_p50"] = dBareP50 > 0 ? dManagerP50 / dBareP50 : 0.0;
    io_state.counters["ratio_p99"] = dBareP99 > 0 ? dManagerP99 / dBareP99 : 0.0;
}
BENCHMARK(BM_ManagerAgainstBareActiveObject)->UseRealTime();

// One trip at a time, for a profile per request: perf stat ... --benchmark_filter=Alone
void BM_ManagerAlone(benchmark::State& io_state)
{
    StartedManager manager;
    for (auto _ : io_state)
        benchmark::DoNotOptimize(manager.call());
}
BENCHMARK(BM_ManagerAlone)->UseRealTime();

void BM_BareActiveObjectAlone(benchmark::State& io_state)
{
    BareActiveObject bare;
    for (auto _ : io_state)
        benchmark::DoNotOptimize(bare.call());
}
BENCHMARK(BM_BareActiveObjectAlone)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
