#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <thread>
#include <tuple>

#include "host/core/Assertion.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/oam/command/CommandLine.h"
#include "tests/oam/command/ScriptedChildExecuter.h"
#include "tests/oam/command/TestExecuterTask.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MemAccountFigure.h"

namespace {

// Notes, as lines, what it is told and its deletion. Written on the task thread; read once the test
// has met that thread (a flush, a latch or the task's end).
struct NotingObserver : OAMCmdExecObserver
{
    explicit NotingObserver(StringVector& io_vNotes, CountDownLatch* in_pDeleted = nullptr) : m_vNotes(io_vNotes), m_pDeleted(in_pDeleted) {}
    ~NotingObserver() override
    {
        m_vNotes.push_back("deleted");
        if (m_pDeleted)
            m_pDeleted->countDown();
    }
    bool executeCommandSuccess(const SoapOAM__OAMCommandExecResult& in_result) override
    {
        m_vNotes.push_back((in_result.m_bExecSuccess ? "success " : "failure ") + in_result.m_strStatusText);
        return true;
    }
    bool executeCommandFailure(const StringVector& in_vSupported) override
    {
        std::string strNote = "not supported:";
        for (const std::string& strName : in_vSupported)
            strNote += " " + strName;
        m_vNotes.push_back(strNote);
        return true;
    }
    StringVector& m_vNotes;
    CountDownLatch* m_pDeleted;
};

// Runs the test's hook, then writes its arguments back.
struct EchoHandler : OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
    explicit EchoHandler(std::function<void()> in_hook) : m_hook(std::move(in_hook)) {}
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override
    {
        m_hook();
        for (uint64_t i = 0; i < in_cmd.getNumArg(); ++i)
            io_result.m_strStatusText += (i ? " " : "") + std::string(in_cmd.getArg(i));
        return true;
    }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << "echo [text...]"; }
    bool checkUsage(const OAMCommand&, SoapOAM__OAMCommandExecResult&) const override { return true; }
    std::function<void()> m_hook;
};

// Read on the task's thread: its idle machines and the proxy identifier it would draw next.
std::pair<size_t, uint64_t> idleMachinesAndNextProxyId(TestExecuterTask& io_task)
{
    std::pair<size_t, uint64_t> figures{~size_t(0), ~uint64_t(0)};
    runOnTaskThread(io_task.getActivationQueue(), [&] {
        IDGenerator& generator = io_task.cmdExecSMPoolForTest().getProxyData(0).getIDGenerator();
        figures = {io_task.cmdExecSMPoolForTest().getNumUnused(), generator.getID()};
        generator.takeBack(figures.second);
    });
    return figures;
}

using Answer = std::tuple<bool, bool, std::string>;

// A task with handlers of its own and, when the test starts it with them, scripted children for
// the commands it has no handler for.
class ExecuterTest : public ::testing::Test
{
  protected:
    ExecuterTest()
    {
        task.addHandler("echo", new EchoHandler([this] { ++executions; }));
        // Holds the task thread until the test opens the gate.
        task.addHandler("gate", new EchoHandler([this] { entered.countDown(); gate.wait(); }));
        task.addHandler("throw", new EchoHandler([] { throw std::runtime_error("handler bug"); }));
        // Asks its own task, synchronously and without a time-out, for another command.
        task.addHandler("ask", new EchoHandler([this] {
                            bInnerAnswered = task.executeCommand(commandLine("echo x"), inner, ACE_Time_Value::max_time);
                        }));
    }
    ~ExecuterTest() override { gate.countDown(); task.stopKillExit(ACE_Time_Value(10)); }
    // Each child accepts the commands or refuses them.
    std::vector<ScriptedChildExecuter*> start(std::vector<bool> in_vAccepting = {})
    {
        std::vector<ScriptedChildExecuter*> vChildren;
        for (bool bAccepting : in_vAccepting)
            task.addCmdExecuter(TestExecuterTask::ChildExecuterPtr(vChildren.emplace_back(new ScriptedChildExecuter(bAccepting))));
        EXPECT_TRUE(task.start() && task.waitForStart());
        return vChildren;
    }
    // Once this returns, everything queued on the task before it has run; gives the method
    // objects that have failed so far.
    int flush()
    {
        int nFailures = -1;
        EXPECT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { nFailures = task.m_nMOFailures; }));
        return nFailures;
    }
    // A caller's answer: whether it came, its success flag and its text.
    Answer call(const std::string& in_strLine, ACE_Time_Value in_timeout = ACE_Time_Value(60))
    {
        SoapOAM__OAMCommandExecResult result;
        const bool bAnswered = task.executeCommand(commandLine(in_strLine), result, in_timeout);
        return {bAnswered, result.m_bExecSuccess, result.m_strStatusText};
    }
    // The same, of a caller on its own thread.
    std::future<Answer> callAsync(const std::string& in_strLine, ACE_Time_Value in_timeout)
    {
        return std::async(std::launch::async, [=] { return call(in_strLine, in_timeout); });
    }

    std::atomic<int> executions{0};
    bool bInnerAnswered = true;
    SoapOAM__OAMCommandExecResult inner;
    CountDownLatch entered{1};
    CountDownLatch gate{1};
    StringVector vNotes;
    TestExecuterTask task{"exec-task"};
};

class StartedExecuterTest : public ExecuterTest
{
  protected:
    void SetUp() override { start(); }
};
using ScriptedFanOutTest = ExecuterTest;

} // namespace

TEST_F(StartedExecuterTest, AThrowingHandlerReleasesItsCallerAndATaskWithoutCommandsListsNone)
{
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    EXPECT_EQ(call("throw", ACE_Time_Value::max_time), (Answer{false, false, "Error"}));
    EXPECT_EQ(call("echo next"), (Answer{true, true, "next"})) << "the task goes on to the next command";
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "task exec-task : method object OAMCmdExecuterTaskImpl::ExecCmd_MO threw : handler bug"));

    TestExecuterTask bare("bare-task");
    SoapOAM__OAMCommandExecResult result;
    ASSERT_TRUE(bare.start() && bare.executeCommand(commandLine("nope"), result, ACE_Time_Value(60)));
    EXPECT_EQ(result.m_strStatusText, "Command not supported. Supported commands :");
}

TEST_F(StartedExecuterTest, AnObserverIsToldOnceAndDeletedOnceAndWithoutOneALocalCommandDoesNotRun)
{
    CountDownLatch deleted(2);
    EXPECT_TRUE(task.executeCommand(commandLine("echo a"), nullptr));
    EXPECT_TRUE(task.executeCommand(commandLine("nope"), nullptr));
    ASSERT_TRUE(task.executeCommand(commandLine("echo hi"), new NotingObserver(vNotes, &deleted)));
    ASSERT_TRUE(task.executeCommand(commandLine("nope"), new NotingObserver(vNotes, &deleted)));
    ASSERT_TRUE(deleted.wait());
    EXPECT_EQ(vNotes, (StringVector{"success hi", "deleted", "not supported: ask echo gate throw", "deleted"}));
    EXPECT_EQ(flush(), 0);
    EXPECT_EQ(executions, 1);
}

TEST_F(StartedExecuterTest, ACommandDroppedUnrunReleasesACallerWithoutTimeOut)
{
    auto gated = callAsync("gate late", ACE_Time_Value::max_time);
    ASSERT_TRUE(entered.wait());
    // Nearly endless, which must not wrap around into no wait at all.
    auto dropped = callAsync("echo x", ACE_Time_Value(ACE_Time_Value::max_time.sec() - 10));
    while (task.getActivationQueue()->size() == 0)
        std::this_thread::yield();
    // The kill runs once the gate opens, and the echo behind it goes unrun with the thread.
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    ASSERT_TRUE(task.kill());
    gate.countDown();
    EXPECT_EQ(gated.get(), (Answer{true, true, "late"}));
    EXPECT_EQ(dropped.get(), (Answer{false, false, "Error"}));
    EXPECT_EQ(executions, 0);
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "Error executing command echo x : no answer will come"));
}

TEST_F(StartedExecuterTest, TimeOutLeavesErrorAndTheLateAnswerChangesNothing)
{
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    SoapOAM__OAMCommandExecResult result;
    EXPECT_FALSE(task.executeCommand(commandLine("gate 1"), result, ACE_Time_Value(0, 20000)));
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "Error executing command gate 1 : Timer expired")) << ::testing::PrintToString(capture.messages());
    ASSERT_TRUE(entered.wait());
    gate.countDown();
    flush();
    EXPECT_EQ(std::make_pair(result.m_bExecSuccess, result.m_strStatusText), std::make_pair(false, std::string("Error")));
}

TEST_F(StartedExecuterTest, ChildExecuterIsRefusedOnceTheTaskRuns)
{
    AssertionCapture assertions;
    task.addCmdExecuter(TestExecuterTask::ChildExecuterPtr(new TestExecuterTask("child")));
    EXPECT_EQ(assertions.conditions(), (StringVector{"getTaskState() == STOPPED_STATE"}));
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { EXPECT_TRUE(task.m_vChildOAMCmdExecuter.empty()); }));
}

TEST_F(StartedExecuterTest, SynchronousCommandFromTheTasksOwnThreadIsQueuedWithoutWaitingForItself)
{
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    EXPECT_EQ(call("ask x"), (Answer{true, true, "x"}));
    EXPECT_FALSE(bInnerAnswered);
    EXPECT_EQ(inner.m_strStatusText, "Error");
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "Error executing command echo x : Resource deadlock avoided"));
    // The queued command runs after the handler that asked for it.
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [] {}));
    EXPECT_EQ(executions, 1);
}

// A child that refuses stops the fan-out: those before it keep the command and answer it.
TEST_F(ScriptedFanOutTest, FirstResultWinsLaterOnesAreLoggedAndIgnoredAndARefusingChildStopsTheFanOut)
{
    const std::vector<ScriptedChildExecuter*> vChildren = start({true, true, true, false, true});
    LogCapture capture("linkhaven.oam");
    ASSERT_TRUE(task.executeCommand(commandLine("reset-span"), new NotingObserver(vNotes)));
    EXPECT_EQ(flush(), 1);
    EXPECT_TRUE(vChildren[4]->commands().empty()) << "the child after the one that refused";
    vChildren[0]->answerNotSupported({"b", "a"});
    vChildren[2]->answerSuccess(false, "span reset failed");
    vChildren[1]->answerSuccess(true, "later");
    flush();
    EXPECT_EQ(vNotes, (StringVector{"failure span reset failed", "deleted"}));
    EXPECT_EQ(capture.messages(WARN_LOG_LEVEL), (StringVector{"executeCommand failed", "unexpected ExecCmd success in final state. Ignoring"}));
}

TEST_F(ScriptedFanOutTest, EveryChildNotSupportingGivesTheCallerTheSortedUnionWithTheTasksOwnNames)
{
    const std::vector<ScriptedChildExecuter*> vChildren = start({true, true});
    auto answer = callAsync("nope", ACE_Time_Value::max_time);
    ASSERT_TRUE(vChildren[1]->waitForCommands(1));
    vChildren[0]->answerNotSupported({"b", "echo"});
    flush();
    EXPECT_EQ(answer.wait_for(std::chrono::seconds(0)), std::future_status::timeout) << "told before the last child answered";
    vChildren[1]->answerNotSupported({"a", "c"});
    EXPECT_EQ(answer.get(), (Answer{true, false, "Command not supported. Supported commands :\na\nask\nb\nc\necho\ngate\nthrow"}));
}

// No child keeps the command: no answer can come, and a caller without time-out is told so at once.
TEST_F(ScriptedFanOutTest, ACommandThatEveryChildDropsReleasesItsCaller)
{
    start({false});
    auto answer = callAsync("reset-span", ACE_Time_Value::max_time);
    ASSERT_EQ(answer.wait_for(std::chrono::minutes(1)), std::future_status::ready);
    EXPECT_EQ(answer.get(), (Answer{false, false, "Error"}));
}

// Without an observer: the command still reaches the children, and nothing fails or warns.
TEST_F(ScriptedFanOutTest, TheMachineGoesBackAfterItsLastProxyAndServesTheNextCommandAtTheLevelSetMeanwhile)
{
    Logger machineLogger("linkhaven.oam.CmdExecSM");
    machineLogger.setLogLevel(INFO_LOG_LEVEL);
    const std::vector<ScriptedChildExecuter*> vChildren = start({true, true, true});
    for (const char* szCommand : {"reset-span", "block-span"}) {
        SCOPED_TRACE(szCommand);
        LogCapture capture("linkhaven.oam");
        ASSERT_TRUE(task.executeCommand(commandLine(szCommand), nullptr));
        flush();
        for (ScriptedChildExecuter* pChild : vChildren)
            pChild->answerNotSupported({});
        EXPECT_EQ(flush(), 0);
        EXPECT_EQ(idleMachinesAndNextProxyId(task).first, 1u) << "back once, after the last of its three proxies";
        EXPECT_EQ(capture.messages(WARN_LOG_LEVEL), StringVector{});
        // The same machine serves the second command at the level set after the first.
        EXPECT_EQ(capture.contains(DEBUG_LOG_LEVEL, std::string("in_szCmdName=") + szCommand), machineLogger.isEnabledFor(DEBUG_LOG_LEVEL));
        machineLogger.setLogLevel(DEBUG_LOG_LEVEL);
    }
    machineLogger.setLogLevel(NOT_SET_LOG_LEVEL);
}

TEST_F(ScriptedFanOutTest, AProxyGoneWhileTheParentStopsIsClearedForTheNextRun)
{
    const std::vector<ScriptedChildExecuter*> vChildren = start({true});
    ASSERT_TRUE(task.executeCommand(commandLine("reset-span"), new NotingObserver(vNotes)));
    flush();
    // The parent's thread is held while its stop is queued, and the child's answer and the
    // destruction of its proxy queue up behind the stop, so the run ends without running them.
    CountDownLatch holding(1), released(1);
    ASSERT_TRUE(Task::enqueue(task.getActivationQueue(), new RunOnTaskThread_MO([&] { holding.countDown(); released.wait(); }, {}), "hold"));
    ASSERT_TRUE(holding.wait() && task.stop());
    vChildren[0]->answerNotSupported({});
    released.countDown();
    ASSERT_TRUE(task.waitUntilDone());
    EXPECT_EQ(vNotes, StringVector{"deleted"}) << "the answer went with the run";
    ASSERT_TRUE(task.start());
    EXPECT_EQ(idleMachinesAndNextProxyId(task), std::make_pair(size_t(1), uint64_t(0)));
}

TEST(CmdExecFanOutLifetime, AChildThatOutlivesItsParentAnswersIntoNothing)
{
    auto* pChild = new ScriptedChildExecuter();
    const TestExecuterTask::ChildExecuterPtr child(pChild); // the host's own handle on the child
    StringVector vNotes;
    {
        TestExecuterTask parent("short-lived-parent");
        parent.addCmdExecuter(child);
        ASSERT_TRUE(parent.start());
        ASSERT_TRUE(parent.executeCommand(commandLine("reset-span"), new NotingObserver(vNotes)));
        ASSERT_TRUE(pChild->waitForCommands(1));
    }
    EXPECT_EQ(vNotes, StringVector{"deleted"}) << "the parent's observer goes with the parent";
    // The answer and the proxy's destruction find the parent gone and are dropped.
    EXPECT_FALSE(pChild->answerSuccess(true, "too late"));
    EXPECT_EQ(vNotes, StringVector{"deleted"});
}

TEST(CmdExecFanOutPool, GrowsOnlyToThePeakInFlightAndEverythingComesBack)
{
    const char* const ACCOUNTS[] = {"CmdExecObserverProxy", "CmdSuccess_MO", "CmdFailure_MO", "ProxyDestruction_MO",
                                    "ExecCmd_MO", "FutureCmdExecObserver", "CmdExecSM"};
    std::vector<uint64_t> vStartLive;
    for (const char* szAccount : ACCOUNTS)
        vStartLive.push_back(account(szAccount, &MemAccountInfo::m_ulLiveBlocks));
    const uint64_t ulStartMachines = account("CmdExecSM");
    constexpr int CALLERS = 4;
    {
        TestExecuterTask parent("pool-parent");
        const std::vector<TestExecuterTask*> vChildren = {new TestExecuterTask("answering-child"), new TestExecuterTask("silent-child-1"), new TestExecuterTask("silent-child-2")};
        vChildren[0]->addHandler("span-status", new EchoHandler([] {}));
        for (TestExecuterTask* pChild : vChildren) {
            parent.addCmdExecuter(TestExecuterTask::ChildExecuterPtr(pChild));
            ASSERT_TRUE(pChild->start());
        }
        ASSERT_TRUE(parent.start());
        std::vector<std::thread> vCallers;
        std::atomic<int> nAnswered{0};
        for (int caller = 0; caller < CALLERS; ++caller)
            vCallers.emplace_back([&, caller] {
                for (int i = 0; i < 1500; ++i) {
                    SoapOAM__OAMCommandExecResult result;
                    // Every seventh command gives up at once, so its answer arrives after the time-out.
                    const ACE_Time_Value timeout = (i + caller) % 7 == 0 ? ACE_Time_Value::zero : ACE_Time_Value(60);
                    nAnswered += parent.executeCommand(commandLine(i % 3 == 0 ? "nope" : "span-status"), result, timeout);
                }
            });
        for (std::thread& caller : vCallers)
            caller.join();
        EXPECT_GT(nAnswered, 0);
        // Commands still queued reach the children, whose answers and proxy destructions come back.
        ASSERT_TRUE(runOnTaskThread(parent.getActivationQueue(), [] {}));
        for (TestExecuterTask* pChild : vChildren)
            ASSERT_TRUE(runOnTaskThread(pChild->getActivationQueue(), [] {}));
        ASSERT_TRUE(runOnTaskThread(parent.getActivationQueue(), [] {}));
        const uint64_t ulCreated = account("CmdExecSM") - ulStartMachines;
        const auto [uiIdle, ulNextProxyId] = idleMachinesAndNextProxyId(parent);
        // Every machine ever made is idle again; at most a few were ever out at once; identifiers
        // were reused: the next is below the number of proxies ever alive at once.
        EXPECT_EQ(uiIdle, ulCreated);
        EXPECT_GE(ulCreated, 1u);
        EXPECT_LE(ulCreated, 2u * CALLERS * 3);
        EXPECT_LT(ulNextProxyId, ulCreated * vChildren.size());
        for (size_t i = 0; i + 1 < std::size(ACCOUNTS); ++i) // all but the pool's machines
            EXPECT_EQ(account(ACCOUNTS[i], &MemAccountInfo::m_ulLiveBlocks), vStartLive[i]) << ACCOUNTS[i];
    }
    EXPECT_EQ(account("CmdExecSM", &MemAccountInfo::m_ulLiveBlocks), vStartLive.back());
}
