#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "host/core/Assertion.h"
#include "host/core/StaticAccountMemAllocator.h"
#include "oam/command/SoapOAMCommand.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/oam/command/CountingObserver.h"
#include "tests/oam/command/TestExecuterTask.h"
#include "tests/support/LogCapture.h"

namespace {

SoapOAMCommand commandOf(const char* in_szName, std::initializer_list<const char*> in_args = {})
{
    SoapOAMCommand cmd;
    cmd.setName(in_szName);
    for (const char* szArg : in_args)
        cmd.pushBackArg(szArg);
    return cmd;
}

// "echo text [more]": writes its arguments back; the first must not be "bad".
class EchoHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    explicit EchoHandler(std::atomic<int>& io_executions) : m_executions(io_executions) {}

    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override
    {
        ++m_executions;
        for (uint64_t i = 0; i < in_cmd.getNumArg(); ++i)
            io_result.m_strStatusText += (i ? " " : "") + std::string(in_cmd.getArg(i));
        return true;
    }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << "echo text [more]"; }
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override
    {
        if (in_cmd.getNumArg() == 0)
            return false;
        if (std::string(in_cmd.getArg(0)) == "bad") {
            io_result.m_strStatusText += "Invalid text : bad";
            return false;
        }
        return true;
    }

  private:
    std::atomic<int>& m_executions;
};

// Holds the task thread until the test opens the gate.
class GateHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    GateHandler(CountDownLatch& io_entered, CountDownLatch& io_gate) : m_entered(io_entered), m_gate(io_gate) {}

    bool executeCommand(const OAMCommand&, SoapOAM__OAMCommandExecResult& io_result) override
    {
        m_entered.countDown();
        m_gate.wait();
        io_result.m_strStatusText = "late";
        return true;
    }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << "gate"; }
    bool checkUsage(const OAMCommand&, SoapOAM__OAMCommandExecResult&) const override { return true; }

  private:
    CountDownLatch& m_entered;
    CountDownLatch& m_gate;
};

uint64_t liveBlocks(const char* in_szAccount)
{
    MemAccountInfo info;
    return StaticAccountMemAllocator::getMemAccountInfo(in_szAccount, info) ? info.m_ulLiveBlocks : 0;
}

class StartedExecuterTest : public ::testing::Test
{
  protected:
    StartedExecuterTest() : task("exec-task")
    {
        task.addHandler("echo", new EchoHandler(executions));
        task.addHandler("gate", new GateHandler(entered, gate));
    }
    void SetUp() override
    {
        ASSERT_TRUE(task.start());
        ASSERT_TRUE(task.waitForStart());
    }
    void TearDown() override
    {
        gate.countDown();
        task.stopKillExit(ACE_Time_Value(10));
    }

    SoapOAM__OAMCommandExecResult run(const SoapOAMCommand& in_cmd, bool in_bExpectAnswer = true)
    {
        SoapOAM__OAMCommandExecResult result;
        EXPECT_EQ(task.executeCommand(in_cmd, result, ACE_Time_Value(60)), in_bExpectAnswer);
        return result;
    }

    std::atomic<int> executions{0};
    CountDownLatch entered{1};
    CountDownLatch gate{1};
    TestExecuterTask task;
};

} // namespace

TEST_F(StartedExecuterTest, LocalHandlerRunsAndItsOutputIsTheStatusText)
{
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    const SoapOAM__OAMCommandExecResult result = run(commandOf("echo", {"a", "b"}));
    EXPECT_TRUE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "a b");
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "OAMCmdExecuterTaskImpl::executeCommand_i : echo a b"));
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "OAMCmdExecuterTaskImpl::executeCommand_i : (echo a b) cmd handled by exec-task"));
    EXPECT_TRUE(capture.contains(TRACE_LOG_LEVEL, "ENTER: OAMCmdExecuterTaskImpl::executeCommand_i"));
}

TEST_F(StartedExecuterTest, RejectedUsageGivesTheReasonThenTheUsage)
{
    SoapOAM__OAMCommandExecResult result = run(commandOf("echo"));
    EXPECT_FALSE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "Incorrect Usage\nusage : echo text [more]");

    result = run(commandOf("echo", {"bad"}));
    EXPECT_FALSE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "Invalid text : bad. Incorrect Usage\nusage : echo text [more]");
    EXPECT_EQ(executions, 0);
}

TEST(ExecuterWithoutCommands, UnknownCommandListsNothingAfterTheHeading)
{
    TestExecuterTask task("bare-task");
    ASSERT_TRUE(task.start());
    SoapOAM__OAMCommandExecResult result;
    ASSERT_TRUE(task.executeCommand(commandOf("nope"), result, ACE_Time_Value(60)));
    EXPECT_FALSE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "Command not supported. Supported commands :");
}

TEST_F(StartedExecuterTest, UnknownCommandListsTheSupportedCommandsOnePerLine)
{
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    const SoapOAM__OAMCommandExecResult result = run(commandOf("nope", {"x"}));
    EXPECT_FALSE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "Command not supported. Supported commands :\necho\ngate");
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "OAMCmdExecuterTaskImpl::executeCommand_i : (nope x) cmd NOT handled by exec-task"));
}

TEST_F(StartedExecuterTest, ObserverIsToldOnceAndDeletedOnce)
{
    CountingObserver::Tally tally;
    CountDownLatch deleted(2);
    ASSERT_TRUE(task.executeCommand(commandOf("echo", {"hi"}), new CountingObserver(tally, &deleted)));
    ASSERT_TRUE(task.executeCommand(commandOf("nope"), new CountingObserver(tally, &deleted)));
    ASSERT_TRUE(deleted.wait());
    EXPECT_EQ(tally.nSuccess, 1);
    EXPECT_EQ(tally.nFailure, 1);
    EXPECT_EQ(tally.nDeleted, 2);
    EXPECT_EQ(tally.lastResult.m_strStatusText, "hi");
    EXPECT_EQ(tally.vLastSupported, (StringVector{"echo", "gate"}));
}

TEST_F(StartedExecuterTest, NullObserverMeansALocalCommandIsNotExecuted)
{
    EXPECT_TRUE(task.executeCommand(commandOf("echo", {"a"}), nullptr));
    EXPECT_TRUE(task.executeCommand(commandOf("nope"), nullptr));
    // Queued behind both: once it has run, so have they, and neither routing failed.
    int nFailures = -1;
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { nFailures = task.m_nMOFailures; }));
    EXPECT_EQ(executions, 0);
    EXPECT_EQ(nFailures, 0);
}

TEST_F(StartedExecuterTest, MaxTimeWaitsUntilTheTaskAnswers)
{
    auto answer = std::async(std::launch::async, [&] {
        SoapOAM__OAMCommandExecResult result;
        const bool bAnswered = task.executeCommand(commandOf("gate"), result, ACE_Time_Value::max_time);
        return std::make_pair(bAnswered, result.m_strStatusText);
    });
    ASSERT_TRUE(entered.wait());
    gate.countDown();
    EXPECT_EQ(answer.get(), std::make_pair(true, std::string("late")));
}

TEST_F(StartedExecuterTest, ACommandDroppedUnrunReleasesACallerWithoutTimeOut)
{
    auto gated = std::async(std::launch::async, [&] {
        SoapOAM__OAMCommandExecResult result;
        return task.executeCommand(commandOf("gate"), result, ACE_Time_Value::max_time);
    });
    ASSERT_TRUE(entered.wait());
    // Nearly endless, which must not wrap around into no wait at all.
    const ACE_Time_Value centuries(ACE_Time_Value::max_time.sec() - 10);
    auto dropped = std::async(std::launch::async, [&] {
        SoapOAM__OAMCommandExecResult result;
        const bool bAnswered = task.executeCommand(commandOf("echo", {"x"}), result, centuries);
        return std::make_pair(bAnswered, result.m_strStatusText);
    });
    while (task.getActivationQueue()->method_count() == 0)
        std::this_thread::yield();
    // The kill runs once the gate opens, and the echo behind it goes unrun with the thread.
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    ASSERT_TRUE(task.kill());
    gate.countDown();
    EXPECT_TRUE(gated.get());
    EXPECT_EQ(dropped.get(), std::make_pair(false, std::string("Error")));
    EXPECT_EQ(executions, 0);
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "Error executing command echo x : no answer will come"));
}

TEST_F(StartedExecuterTest, TimeOutLeavesErrorAndTheLateAnswerChangesNothing)
{
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    SoapOAM__OAMCommandExecResult result;
    result.m_bExecSuccess = true;
    EXPECT_FALSE(task.executeCommand(commandOf("gate", {"1"}), result, ACE_Time_Value(0, 20000)));
    EXPECT_FALSE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "Error");
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "Error executing command gate 1 : Timer expired"))
        << ::testing::PrintToString(capture.messages());

    ASSERT_TRUE(entered.wait());
    gate.countDown();
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [] {}));
    EXPECT_FALSE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "Error");
}

TEST_F(StartedExecuterTest, ChildExecuterIsRefusedOnceTheTaskRuns)
{
    AssertionCapture assertions;
    task.addCmdExecuter(TestExecuterTask::ChildExecuterPtr(new TestExecuterTask("child")));
    EXPECT_EQ(assertions.conditions(), (StringVector{"getTaskState() == STOPPED_STATE"}));
    size_t uiChildren = 1;
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { uiChildren = task.m_vChildOAMCmdExecuter.size(); }));
    EXPECT_EQ(uiChildren, 0u);
}

TEST(ExecuterNeverStarted, QueuedCommandDropsItsObserverUntoldWithTheTask)
{
    CountingObserver::Tally tally;
    const uint64_t ulMethodObjects = liveBlocks("ExecCmd_MO");
    {
        TestExecuterTask task("idle-task");
        ASSERT_TRUE(task.executeCommand(commandOf("nope"), new CountingObserver(tally)));
        EXPECT_EQ(liveBlocks("ExecCmd_MO"), ulMethodObjects + 1);
    }
    EXPECT_EQ(tally.nDeleted, 1);
    EXPECT_EQ(tally.nSuccess + tally.nFailure, 0);
    EXPECT_EQ(liveBlocks("ExecCmd_MO"), ulMethodObjects);
}

namespace {

// Asks its own task, synchronously and without a time-out, for another command.
class AskOwnTaskHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    explicit AskOwnTaskHandler(SynchronousOAMCmdExecuter& io_task) : m_task(io_task) {}

    bool executeCommand(const OAMCommand&, SoapOAM__OAMCommandExecResult& io_result) override
    {
        SoapOAM__OAMCommandExecResult inner;
        const bool bAnswered = m_task.executeCommand(commandOf("echo", {"x"}), inner, ACE_Time_Value::max_time);
        io_result.m_strStatusText = (bAnswered ? "answered: " : "refused: ") + inner.m_strStatusText;
        return true;
    }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << "ask-own-task"; }
    bool checkUsage(const OAMCommand&, SoapOAM__OAMCommandExecResult&) const override { return true; }

  private:
    SynchronousOAMCmdExecuter& m_task;
};

} // namespace

TEST(ExecuterOnItsOwnThread, SynchronousCommandIsQueuedWithoutWaitingForItself)
{
    std::atomic<int> executions{0};
    TestExecuterTask task("self-asking");
    task.addHandler("echo", new EchoHandler(executions));
    task.addHandler("ask-own-task", new AskOwnTaskHandler(task));
    ASSERT_TRUE(task.start());
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    SoapOAM__OAMCommandExecResult result;
    ASSERT_TRUE(task.executeCommand(commandOf("ask-own-task"), result, ACE_Time_Value(60)));
    EXPECT_EQ(result.m_strStatusText, "refused: Error");
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "Error executing command echo x : Resource deadlock avoided"));
    // The queued command runs after the handler that asked for it.
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [] {}));
    EXPECT_EQ(executions, 1);
}
