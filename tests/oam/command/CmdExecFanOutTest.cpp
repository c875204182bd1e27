#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <vector>

#include "host/core/StaticAccountMemAllocator.h"
#include "oam/command/SoapOAMCommand.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/oam/command/CountingObserver.h"
#include "tests/oam/command/ScriptedChildExecuter.h"
#include "tests/oam/command/TestExecuterTask.h"
#include "tests/support/LogCapture.h"

namespace {

SoapOAMCommand commandOf(const char* in_szName)
{
    SoapOAMCommand cmd;
    cmd.setName(in_szName);
    return cmd;
}

// Read on the parent's thread: its idle machines and the proxy identifier it would draw next.
std::pair<size_t, uint64_t> idleMachinesAndNextProxyId(TestExecuterTask& io_parent)
{
    std::pair<size_t, uint64_t> figures{~size_t(0), ~uint64_t(0)};
    runOnTaskThread(io_parent.getActivationQueue(), [&] {
        IDGenerator& generator = io_parent.cmdExecSMPoolForTest().getProxyData(0).getIDGenerator();
        figures = {io_parent.cmdExecSMPoolForTest().getNumUnused(), generator.getID()};
        generator.takeBack(figures.second);
    });
    return figures;
}

// A started parent with scripted children; each test answers for the children.
class ScriptedFanOutTest : public ::testing::Test
{
  protected:
    std::vector<ScriptedChildExecuter*> start(std::vector<bool> in_vAccepting)
    {
        std::vector<ScriptedChildExecuter*> vChildren;
        for (bool bAccepting : in_vAccepting) {
            vChildren.push_back(new ScriptedChildExecuter(bAccepting));
            parent.addCmdExecuter(TestExecuterTask::ChildExecuterPtr(vChildren.back()));
        }
        EXPECT_TRUE(parent.start());
        return vChildren;
    }
    // Once this returns, everything queued on the parent before it has run; gives the method
    // objects that have failed so far.
    int flushParent()
    {
        int nFailures = -1;
        EXPECT_TRUE(runOnTaskThread(parent.getActivationQueue(), [&] { nFailures = parent.m_nMOFailures; }));
        return nFailures;
    }
    void send(const char* in_szName)
    {
        ASSERT_TRUE(parent.executeCommand(commandOf(in_szName), new CountingObserver(tally)));
        flushParent();
    }

    TestExecuterTask parent{"parent"};
    CountingObserver::Tally tally;
};

} // namespace

TEST_F(ScriptedFanOutTest, FirstResultWinsAndLaterOnesAreLoggedAndIgnored)
{
    const std::vector<ScriptedChildExecuter*> vChildren = start({true, true, true});
    send("reset-span");
    LogCapture capture("linkhaven.oam.CmdExecSM");
    vChildren[0]->answerNotSupported({"b", "a"});
    vChildren[2]->answerSuccess(false, "span reset failed");
    vChildren[1]->answerSuccess(true, "later");
    flushParent();
    EXPECT_EQ(tally.nSuccess, 1);
    EXPECT_EQ(tally.nFailure, 0);
    EXPECT_EQ(tally.nDeleted, 1);
    EXPECT_FALSE(tally.lastResult.m_bExecSuccess);
    EXPECT_EQ(tally.lastResult.m_strStatusText, "span reset failed");
    EXPECT_TRUE(capture.contains(WARN_LOG_LEVEL, "unexpected ExecCmd success in final state. Ignoring"));
}

TEST_F(ScriptedFanOutTest, EveryChildNotSupportingGivesTheCallerTheSortedUnionWithTheTasksOwnNames)
{
    parent.addSupportedName("z-own");
    parent.addSupportedName("a");
    const std::vector<ScriptedChildExecuter*> vChildren = start({true, true});
    auto answer = std::async(std::launch::async, [&] {
        SoapOAM__OAMCommandExecResult result;
        EXPECT_TRUE(parent.executeCommand(commandOf("nope"), result, ACE_Time_Value::max_time));
        return result;
    });
    ASSERT_TRUE(vChildren[1]->waitForCommands(1));
    vChildren[0]->answerNotSupported({"b", "a"});
    flushParent();
    EXPECT_EQ(answer.wait_for(std::chrono::seconds(0)), std::future_status::timeout) << "told before the last child answered";
    vChildren[1]->answerNotSupported({"a", "c"});
    const SoapOAM__OAMCommandExecResult result = answer.get();
    EXPECT_FALSE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "Command not supported. Supported commands :\na\nb\nc\nz-own");
}

TEST_F(ScriptedFanOutTest, RefusingChildStopsTheFanOutAndEarlierChildrenKeepTheCommand)
{
    const std::vector<ScriptedChildExecuter*> vChildren = start({true, false, true});
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    send("reset-span");
    EXPECT_EQ(vChildren[1]->commands().size(), 1u);
    EXPECT_TRUE(vChildren[2]->commands().empty());
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "executeCommand failed"));
    vChildren[0]->answerSuccess(true, "from the first");
    EXPECT_EQ(flushParent(), 1);
    EXPECT_EQ(tally.lastResult.m_strStatusText, "from the first");
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
        ASSERT_TRUE(parent.executeCommand(commandOf(szCommand), nullptr));
        flushParent();
        for (ScriptedChildExecuter* pChild : vChildren)
            pChild->answerNotSupported({});
        EXPECT_EQ(flushParent(), 0);
        EXPECT_EQ(idleMachinesAndNextProxyId(parent).first, 1u) << "back once, after the last of its three proxies";
        for (const CapturedLine& line : capture.lines())
            EXPECT_LT(line.level, WARN_LOG_LEVEL) << line.strLogger << ": " << line.strMessage;
        // The same machine serves the second command at the level set after the first.
        EXPECT_EQ(capture.contains(DEBUG_LOG_LEVEL, std::string("in_szCmdName=") + szCommand),
                  machineLogger.isEnabledFor(DEBUG_LOG_LEVEL));
        machineLogger.setLogLevel(DEBUG_LOG_LEVEL);
    }
    machineLogger.setLogLevel(NOT_SET_LOG_LEVEL);
}

TEST_F(ScriptedFanOutTest, AProxyGoneWhileTheParentStopsIsClearedForTheNextRun)
{
    const std::vector<ScriptedChildExecuter*> vChildren = start({true});
    send("reset-span");
    // The parent's thread is held while its stop is queued, and the child's answer and the
    // destruction of its proxy queue up behind the stop, so the run ends without running them.
    CountDownLatch holding(1), released(1);
    ASSERT_TRUE(Task::enqueue(parent.getActivationQueue(),
                              new RunOnTaskThread_MO([&] { holding.countDown(); released.wait(); }, std::promise<void>()), "hold"));
    ASSERT_TRUE(holding.wait());
    ASSERT_TRUE(parent.stop());
    vChildren[0]->answerNotSupported({});
    released.countDown();
    ASSERT_TRUE(parent.waitUntilDone());
    EXPECT_EQ(tally.nFailure, 0) << "the answer went with the run";
    ASSERT_TRUE(parent.start());
    EXPECT_EQ(idleMachinesAndNextProxyId(parent), std::make_pair(size_t(1), uint64_t(0)));
}

TEST(CmdExecFanOutLifetime, AChildThatOutlivesItsParentAnswersIntoNothing)
{
    auto* pChild = new ScriptedChildExecuter();
    const TestExecuterTask::ChildExecuterPtr child(pChild); // the host's own handle on the child
    CountingObserver::Tally tally;
    {
        TestExecuterTask parent("short-lived-parent");
        parent.addCmdExecuter(child);
        ASSERT_TRUE(parent.start());
        ASSERT_TRUE(parent.executeCommand(commandOf("reset-span"), new CountingObserver(tally)));
        ASSERT_TRUE(pChild->waitForCommands(1));
    }
    EXPECT_EQ(tally.nDeleted, 1) << "the parent's observer goes with the parent";
    // The answer and the proxy's destruction find the parent gone and are dropped.
    EXPECT_FALSE(pChild->answerSuccess(true, "too late"));
    EXPECT_EQ(tally.nSuccess, 0);
}

namespace {

class SpanStatusHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand&, SoapOAM__OAMCommandExecResult&) override { return true; }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << "span-status"; }
    bool checkUsage(const OAMCommand&, SoapOAM__OAMCommandExecResult&) const override { return true; }
};

uint64_t account(const char* in_szName, uint64_t MemAccountInfo::*in_field)
{
    MemAccountInfo info;
    return StaticAccountMemAllocator::getMemAccountInfo(in_szName, info) ? info.*in_field : 0;
}

} // namespace

TEST(CmdExecFanOutPool, GrowsOnlyToThePeakInFlightAndEverythingComesBack)
{
    const char* const ACCOUNTS[] = {"CmdExecObserverProxy", "CmdSuccess_MO", "CmdFailure_MO", "ProxyDestruction_MO",
                                    "ExecCmd_MO", "FutureCmdExecObserver", "CmdExecSM"};
    std::vector<uint64_t> vStartLive;
    for (const char* szAccount : ACCOUNTS)
        vStartLive.push_back(account(szAccount, &MemAccountInfo::m_ulLiveBlocks));
    const uint64_t ulStartMachines = account("CmdExecSM", &MemAccountInfo::m_ulAllocations);
    constexpr int CALLERS = 4;
    {
        TestExecuterTask parent("pool-parent");
        const std::vector<TestExecuterTask*> vChildren = {new TestExecuterTask("answering-child"),
                                                          new TestExecuterTask("silent-child-1"), new TestExecuterTask("silent-child-2")};
        vChildren[0]->addHandler("span-status", new SpanStatusHandler());
        for (TestExecuterTask* pChild : vChildren) {
            parent.addCmdExecuter(TestExecuterTask::ChildExecuterPtr(pChild));
            ASSERT_TRUE(pChild->start());
        }
        ASSERT_TRUE(parent.start());
        std::vector<std::thread> vCallers;
        std::atomic<int> nAnswered{0};
        for (int caller = 0; caller < CALLERS; ++caller) {
            vCallers.emplace_back([&, caller] {
                for (int i = 0; i < 1500; ++i) {
                    SoapOAM__OAMCommandExecResult result;
                    // Every seventh command gives up at once, so its answer arrives after the time-out.
                    const ACE_Time_Value timeout = (i + caller) % 7 == 0 ? ACE_Time_Value::zero : ACE_Time_Value(60);
                    nAnswered += parent.executeCommand(commandOf(i % 3 == 0 ? "nope" : "span-status"), result, timeout);
                }
            });
        }
        for (std::thread& caller : vCallers)
            caller.join();
        EXPECT_GT(nAnswered, 0);
        // Commands still queued reach the children, whose answers and proxy destructions come back.
        ASSERT_TRUE(runOnTaskThread(parent.getActivationQueue(), [] {}));
        for (TestExecuterTask* pChild : vChildren)
            ASSERT_TRUE(runOnTaskThread(pChild->getActivationQueue(), [] {}));
        ASSERT_TRUE(runOnTaskThread(parent.getActivationQueue(), [] {}));
        const uint64_t ulCreated = account("CmdExecSM", &MemAccountInfo::m_ulAllocations) - ulStartMachines;
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
