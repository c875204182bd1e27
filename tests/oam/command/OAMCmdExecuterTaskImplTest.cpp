#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <thread>

#include "host/core/Assertion.h"
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

// "echo text [more]": runs the test's hook, then writes its arguments back; rejects none and "bad".
class EchoHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    explicit EchoHandler(std::function<void()> in_hook) : m_hook(std::move(in_hook)) {}
    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override
    {
        m_hook();
        for (uint64_t i = 0; i < in_cmd.getNumArg(); ++i)
            io_result.m_strStatusText += (i ? " " : "") + std::string(in_cmd.getArg(i));
        return true;
    }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << "echo text [more]"; }
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) const override
    {
        if (in_cmd.getNumArg() > 0 && std::string(in_cmd.getArg(0)) == "bad")
            io_result.m_strStatusText = "Invalid text : bad";
        return in_cmd.getNumArg() > 0 && io_result.m_strStatusText.empty();
    }

  private:
    std::function<void()> m_hook;
};

class StartedExecuterTest : public ::testing::Test
{
  protected:
    StartedExecuterTest()
    {
        task.addHandler("echo", new EchoHandler([this] { ++executions; }));
        // Holds the task thread until the test opens the gate.
        task.addHandler("gate", new EchoHandler([this] { entered.countDown(); gate.wait(); }));
        task.addHandler("throw", new EchoHandler([] { throw std::runtime_error("handler bug"); }));
        // Asks its own task, synchronously and without a time-out, for another command.
        task.addHandler("ask", new EchoHandler([this] {
                            bInnerAnswered = task.executeCommand(commandOf("echo", {"x"}), inner, ACE_Time_Value::max_time);
                        }));
        EXPECT_TRUE(task.start() && task.waitForStart());
    }
    ~StartedExecuterTest() override
    {
        gate.countDown();
        task.stopKillExit(ACE_Time_Value(10));
    }
    // The answer of a caller on its own thread: whether it came, and its text.
    std::future<std::pair<bool, std::string>> callAsync(const SoapOAMCommand& in_cmd, ACE_Time_Value in_timeout)
    {
        return std::async(std::launch::async, [this, in_cmd, in_timeout] {
            SoapOAM__OAMCommandExecResult result;
            const bool bAnswered = task.executeCommand(in_cmd, result, in_timeout);
            return std::make_pair(bAnswered, result.m_strStatusText);
        });
    }

    std::atomic<int> executions{0};
    bool bInnerAnswered = true;
    SoapOAM__OAMCommandExecResult inner;
    CountDownLatch entered{1};
    CountDownLatch gate{1};
    TestExecuterTask task{"exec-task"};
};

} // namespace

TEST_F(StartedExecuterTest, ACommandIsRunByItsHandlerRejectedWithItsUsageOrAnsweredWithTheSupportedNames)
{
    struct Case
    {
        SoapOAMCommand cmd;
        bool bSuccess;
        std::string strText;
        bool bAnswered = true;
    };
    const Case cases[] = {
        // A handler that throws releases its caller, and the task goes on to the next command.
        {commandOf("throw", {"x"}), false, "Error", false},
        {commandOf("echo", {"a", "b"}), true, "a b"},
        {commandOf("echo"), false, "Incorrect Usage\nusage : echo text [more]"},
        {commandOf("echo", {"bad"}), false, "Invalid text : bad. Incorrect Usage\nusage : echo text [more]"},
        {commandOf("nope", {"x"}), false, "Command not supported. Supported commands :\nask\necho\ngate\nthrow"},
    };
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strText);
        SoapOAM__OAMCommandExecResult result;
        EXPECT_EQ(task.executeCommand(c.cmd, result, ACE_Time_Value::max_time), c.bAnswered);
        EXPECT_EQ(result.m_bExecSuccess, c.bSuccess);
        EXPECT_EQ(result.m_strStatusText, c.strText);
    }
    EXPECT_EQ(executions, 1) << "only the accepted usage runs";
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "task exec-task : method object OAMCmdExecuterTaskImpl::ExecCmd_MO threw : handler bug"));

    TestExecuterTask bare("bare-task");
    ASSERT_TRUE(bare.start());
    SoapOAM__OAMCommandExecResult result;
    ASSERT_TRUE(bare.executeCommand(commandOf("nope"), result, ACE_Time_Value(60)));
    EXPECT_EQ(result.m_strStatusText, "Command not supported. Supported commands :");
}

TEST_F(StartedExecuterTest, AnObserverIsToldOnceAndDeletedOnceAndWithoutOneALocalCommandDoesNotRun)
{
    CountingObserver::Tally tally;
    CountDownLatch deleted(2);
    EXPECT_TRUE(task.executeCommand(commandOf("echo", {"a"}), nullptr));
    EXPECT_TRUE(task.executeCommand(commandOf("nope"), nullptr));
    ASSERT_TRUE(task.executeCommand(commandOf("echo", {"hi"}), new CountingObserver(tally, &deleted)));
    ASSERT_TRUE(task.executeCommand(commandOf("nope"), new CountingObserver(tally, &deleted)));
    ASSERT_TRUE(deleted.wait());
    EXPECT_EQ(tally.nSuccess, 1);
    EXPECT_EQ(tally.nFailure, 1);
    EXPECT_EQ(tally.nDeleted, 2);
    EXPECT_EQ(tally.lastResult.m_strStatusText, "hi");
    EXPECT_EQ(tally.vLastSupported, (StringVector{"ask", "echo", "gate", "throw"}));
    int nFailures = -1;
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [&] { nFailures = task.m_nMOFailures; }));
    EXPECT_EQ(nFailures, 0);
    EXPECT_EQ(executions, 1);
}

TEST_F(StartedExecuterTest, ACommandDroppedUnrunReleasesACallerWithoutTimeOut)
{
    auto gated = callAsync(commandOf("gate", {"late"}), ACE_Time_Value::max_time);
    ASSERT_TRUE(entered.wait());
    // Nearly endless, which must not wrap around into no wait at all.
    auto dropped = callAsync(commandOf("echo", {"x"}), ACE_Time_Value(ACE_Time_Value::max_time.sec() - 10));
    while (task.getActivationQueue()->method_count() == 0)
        std::this_thread::yield();
    // The kill runs once the gate opens, and the echo behind it goes unrun with the thread.
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    ASSERT_TRUE(task.kill());
    gate.countDown();
    EXPECT_EQ(gated.get(), std::make_pair(true, std::string("late")));
    EXPECT_EQ(dropped.get(), std::make_pair(false, std::string("Error")));
    EXPECT_EQ(executions, 0);
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "Error executing command echo x : no answer will come"));
}

TEST_F(StartedExecuterTest, TimeOutLeavesErrorAndTheLateAnswerChangesNothing)
{
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    SoapOAM__OAMCommandExecResult result;
    EXPECT_FALSE(task.executeCommand(commandOf("gate", {"1"}), result, ACE_Time_Value(0, 20000)));
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
    {
        TestExecuterTask task("idle-task");
        ASSERT_TRUE(task.executeCommand(commandOf("nope"), new CountingObserver(tally)));
    }
    EXPECT_EQ(tally.nDeleted, 1);
    EXPECT_EQ(tally.nSuccess + tally.nFailure, 0);
}

TEST_F(StartedExecuterTest, SynchronousCommandFromTheTasksOwnThreadIsQueuedWithoutWaitingForItself)
{
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    SoapOAM__OAMCommandExecResult result;
    ASSERT_TRUE(task.executeCommand(commandOf("ask", {"x"}), result, ACE_Time_Value(60)));
    EXPECT_FALSE(bInnerAnswered);
    EXPECT_EQ(inner.m_strStatusText, "Error");
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "Error executing command echo x : Resource deadlock avoided"));
    // The queued command runs after the handler that asked for it.
    ASSERT_TRUE(runOnTaskThread(task.getActivationQueue(), [] {}));
    EXPECT_EQ(executions, 1);
}
