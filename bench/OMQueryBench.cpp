// The manager's blocking OM read against the bare active object that ACE offers for the same
// trip, alternating call by call. A read is answered from the manager's own table, by the reporter
// that gave the name last, or fanned out to every reporter: there each read asks for an OM that
// all of them fail, so that every reporter's answer is processed before the read ends. Each
// reporter is a task manager on a thread of its own. Steady figures come from a run pinned to one
// core (taskset -c 1): on two shared cores a reactor's wake-up alone swings between 5 and 70 us.

#include <ctime>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/BenchSupport.h"
#include "host/infra/RWConfiguration.h"
#include "oam/manager/OAMManager.h"
#include "oam/om/OMTaskManager.h"

namespace {

enum Source
{
    OWN_TABLE,
    REMEMBERED_REPORTER,
    FAN_OUT
};

void BM_OMReadAgainstBareActiveObject(benchmark::State& io_state)
{
    const auto source = static_cast<Source>(io_state.range(0));
    const auto hConfig = TSHandle<RWConfiguration>::make();
    hConfig->setValue("linkhaven.system.cpu.monitor.monitoringPeriodInMs", ParameterValue(0L));
    OAMManager manager;
    manager.initialize(hConfig);
    manager.setTaskName("bench-manager");
    std::vector<CountedObjPtr<OMTaskManager, TSReferenceCount>> vReporters;
    for (int64_t i = 0; i < io_state.range(1); ++i) {
        vReporters.emplace_back(new OMTaskManager("bench-reporter"));
        vReporters.back()->start();
        manager.addOMReporter(vReporters.back());
    }
    manager.start();
    manager.waitForStart();
    BareActiveObject bare;
    const char* const szName = source == OWN_TABLE             ? "linkhaven.om.OAMManager.hostname"
                               : source == REMEMBERED_REPORTER ? OMTaskManager::STATE_OM_NAME
                                                               : "linkhaven.om.nobody";
    ParameterValue value;
    // The first read of the task managers' OM finds the reporter to remember.
    manager.getOM(szName, value, ACE_Time_Value(10));

    Latencies omTrip, bareTrip;
    // Every thread's: the reporters' work is part of a read's cost.
    const std::clock_t processCpuStart = std::clock();
    for (auto _ : io_state) {
        omTrip.time([&] { return manager.getOM(szName, value, ACE_Time_Value(10)) == (source != FAN_OUT); }, io_state);
        bareTrip.time([&] { return bare.call() == "Success"; }, io_state);
    }
    const double dProcessCpuMicros = double(std::clock() - processCpuStart) * 1e6 / CLOCKS_PER_SEC;
    manager.stop();
    manager.waitUntilDone();
    for (const auto& pReporter : vReporters)
        pReporter->stopKillExit(ACE_Time_Value(10));

    const double dOMP50 = omTrip.percentile(50), dBareP50 = bareTrip.percentile(50);
    io_state.counters["om_reads_per_s"] = omTrip.callsPerSecond();
    io_state.counters["om_p50_us"] = dOMP50;
    io_state.counters["om_p99_us"] = omTrip.percentile(99);
    io_state.counters["bare_per_s"] = bareTrip.callsPerSecond();
    io_state.counters["bare_p50_us"] = dBareP50;
    io_state.counters["bare_p99_us"] = bareTrip.percentile(99);
    io_state.counters["ratio_p50"] = dBareP50 > 0 ? dOMP50 / dBareP50 : 0.0;
    // Of one read and one bare trip together.
    io_state.counters["process_cpu_us"] = io_state.iterations() ? dProcessCpuMicros / io_state.iterations() : 0.0;
}
BENCHMARK(BM_OMReadAgainstBareActiveObject)
    ->ArgNames({"source", "reporters"})
    ->Args({OWN_TABLE, 0})
    ->Args({REMEMBERED_REPORTER, 1})
    ->Args({REMEMBERED_REPORTER, 16})
    ->Args({FAN_OUT, 1})
    ->Args({FAN_OUT, 4})
    ->Args({FAN_OUT, 16})
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
