#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"

namespace {
// Runs its body on the task's thread and gives the body's status; counts its destruction.
struct Body_MO : public ACE_Method_Request
{
    explicit Body_MO(std::function<int()> in_body) : m_body(std::move(in_body)) {}
    ~Body_MO() override { ++s_destroyed; }
    int call() override { return m_body(); }
    std::function<int()> m_body;
    static inline std::atomic<int> s_destroyed{0};
};

// Writes its name into the task's events, on the task's thread.
Body_MO* named(TestReactorTask& io_task, const std::string& in_strName, int in_nStatus = MO_CALL_SUCCESS)
{
    return new Body_MO([&io_task, in_strName, in_nStatus] {
        EXPECT_TRUE(io_task.getThreadChecker().isBoundToCurrentThread());
        io_task.m_vEvents.push_back(in_strName);
        return in_nStatus;
    });
}
} // namespace

TEST(TaskLifecycle, StartedTaskRunsUntilStoppedAndObserversHearEveryChange)
{
    TestReactorTask task;
    StateRecorder recorder;
    recorder.watch(task);
    EXPECT_FALSE(task.waitForStart()) << "never started";
    ASSERT_TRUE(task.start());
    EXPECT_FALSE(task.start());
    ASSERT_TRUE(task.waitForStart());
    EXPECT_EQ(task.getTaskState(), Task::RUNNING_STATE);
    // A time-out of centuries waits like no time-out, rather than wrapping around into none at all.
    ASSERT_TRUE(task.stop() && task.waitUntilDone(ACE_Time_Value(ACE_Time_Value::max_time.sec() - 10)));
    EXPECT_EQ(task.m_vEvents, (Events{"svc-entry", "stop", "close"}));
    const Events states{"test-task STARTING", "test-task RUNNING", "test-task STOPPING", "test-task STOPPED"};
    EXPECT_EQ(recorder.lines(), states);
    EXPECT_FALSE(task.stop() || task.kill()) << "nothing to stop";

    task.removeTaskObserver(&recorder);
    ASSERT_TRUE(task.start() && task.waitForStart()) << "a stopped task starts again";
    bool bAny = true;
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { bAny = task.waitUntilDone() || task.waitForStart() || task.start(); }));
    EXPECT_FALSE(bAny) << "the task's thread cannot wait for itself nor start itself";
    EXPECT_EQ(recorder.lines(), states) << "a removed observer hears nothing more";
}

TEST(MethodObjects, RunInQueueOrderOnTheTaskThreadIncludingThoseQueuedBeforeStart)
{
    Body_MO::s_destroyed = 0;
    TestReactorTask task;
    // Far past the queue's first capacity: queueing grows it and never blocks.
    constexpr int QUEUED = 10000;
    Events expected{"svc-entry"};
    for (int i = 0; i < QUEUED; ++i) {
        ASSERT_TRUE(i != QUEUED / 2 || task.start()) << "the first half wait for it";
        ASSERT_TRUE(task.enqueue(named(task, std::to_string(i)), "test"));
        expected.push_back(std::to_string(i));
    }
    ASSERT_TRUE(task.stop() && task.waitUntilDone());
    expected.insert(expected.end(), {"stop", "close"});
    EXPECT_EQ(task.m_vEvents, expected);
    EXPECT_EQ(Body_MO::s_destroyed, QUEUED);
}

TEST(MethodObjects, ProducersOnManyThreadsWakeATaskThatSleepsBetweenTheirBursts)
{
    constexpr int PRODUCERS = 4, BURSTS = 300, PER_BURST = 3;
    TestReactorTask task;
    ASSERT_TRUE(task.start());
    std::vector<int> vLastRun(PRODUCERS, -1); // task thread only
    std::vector<std::thread> vProducers;
    for (int nProducer = 0; nProducer < PRODUCERS; ++nProducer)
        vProducers.emplace_back([&, nProducer] {
            // A lost wake-up leaves a burst unrun, and the latch fails after its minute.
            for (int nBurst = 0; nBurst < BURSTS; ++nBurst) {
                CountDownLatch ran(PER_BURST);
                for (int n = nBurst * PER_BURST; n < (nBurst + 1) * PER_BURST; ++n)
                    task.enqueue(new Body_MO([&, nProducer, n] {
                        EXPECT_EQ(n, vLastRun[nProducer] + 1);
                        vLastRun[nProducer] = n;
                        ran.countDown();
                        return MO_CALL_SUCCESS;
                    }), "test");
                if (!ran.wait())
                    return;
            }
        });
    for (std::thread& producer : vProducers)
        producer.join();
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(),
                                [&] { EXPECT_EQ(vLastRun, std::vector<int>(PRODUCERS, BURSTS * PER_BURST - 1)); }));
}

// What a run leaves is destroyed unrun at its end; what comes between runs waits for the next one, or
// goes with the task; what a queue refuses is destroyed at once.
TEST(MethodObjects, StopRunsWhatWasQueuedBeforeItKillJumpsAheadAndWhatIsLeftIsDestroyedUnrun)
{
    struct Case
    {
        const char* szName;
        std::vector<std::pair<const char*, int>> queued;
        bool bKill;
        Events events;
    };
    const Case cases[] = {
        {"stop", {{"fails", MO_CALL_FAILURE}, {"stops", MO_CALL_STOP}, {"after", MO_CALL_SUCCESS}}, false,
         {"svc-entry", "fails", "failure", "stops", "stop", "close"}},
        {"kill", {{"queued", MO_CALL_SUCCESS}, {"more", MO_CALL_SUCCESS}}, true, {"svc-entry", "kill", "close"}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.szName);
        Body_MO::s_destroyed = 0;
        {
            CountDownLatch release(1);
            TestReactorTask task;
            EXPECT_FALSE(Task::enqueue(nullptr, named(task, "refused"), "test") || task.getActivationQueue()->enqueueMO(nullptr, "test"));
            ASSERT_TRUE(task.start());
            // Holds the task's thread until released, so that what follows stays queued.
            task.enqueue(new Body_MO([&release] { return release.wait() ? MO_CALL_SUCCESS : MO_CALL_FAILURE; }), "test");
            for (const auto& [szName, nStatus] : row.queued)
                ASSERT_TRUE(task.enqueue(named(task, szName, nStatus), "test"));
            ASSERT_TRUE(!row.bKill || task.kill());
            release.countDown();
            ASSERT_TRUE(task.waitUntilDone());
            EXPECT_EQ(task.m_vEvents, row.events);
            EXPECT_EQ(Body_MO::s_destroyed, static_cast<int>(row.queued.size()) + 2);
            task.enqueue(named(task, "late"), "test");
            ASSERT_TRUE(task.start() && task.stop() && task.waitUntilDone());
            EXPECT_EQ(Events(task.m_vEvents.begin() + row.events.size(), task.m_vEvents.end()), (Events{"svc-entry", "late", "stop", "close"}));
            task.enqueue(named(task, "never"), "test");
        }
        EXPECT_EQ(Body_MO::s_destroyed, static_cast<int>(row.queued.size()) + 4);
    }
}
