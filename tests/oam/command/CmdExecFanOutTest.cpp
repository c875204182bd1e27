#include <gtest/gtest.h>

#include <future>
#include <optional>
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

// What a parent's pool holds, read on its thread: its idle machines and the proxy identifier it
// would draw next (given back at once). Empty when the parent's thread could not be reached.
struct PoolFigures
{
    size_t uiIdle;
    uint64_t ulNextProxyId;
};

std::optional<PoolFigures> poolFiguresOf(TestExecuterTask& io_parent)
{
    PoolFigures figures{};
    if (!runOnTaskThread(io_parent.getActivationQueue(), [&] {
            figures.uiIdle = io_parent.cmdExecSMPoolForTest().getNumUnused();
            IDGenerator& generator = io_parent.cmdExecSMPoolForTest().getProxyData(0).getIDGenerator();
            figures.ulNextProxyId = generator.getID();
            generator.takeBack(figures.ulNextProxyId);
        }))
        return std::nullopt;
    return figures;
}

// A parent with scripted children, started; each test answers for the children.
class ScriptedFanOutTest : public ::testing::Test
{
  protected:
    ScriptedChildExecuter* addChild(bool in_bAccept = true)
    {
        auto* pChild = new ScriptedChildExecuter(in_bAccept);
        parent.addCmdExecuter(TestExecuterTask::ChildExecuterPtr(pChild));
        return pChild;
    }
    void start()
    {
        ASSERT_TRUE(parent.start());
        ASSERT_TRUE(parent.waitForStart());
    }
    // Once this returns, everything queued on the parent before it has run.
    void flushParent() { ASSERT_TRUE(runOnTaskThread(parent.getActivationQueue(), [] {})); }
    void sendWithObserver(const char* in_szName)
    {
        ASSERT_TRUE(parent.executeCommand(commandOf(in_szName), new CountingObserver(tally)));
        flushParent();
    }

    TestExecuterTask parent{"parent"};
    CountingObserver::Tally tally;
};

} // namespace

TEST_F(ScriptedFanOutTest, FirstResultWinsAndTheNamesAreNeverGiven)
{
    ScriptedChildExecuter* pFirst = addChild();
    ScriptedChildExecuter* pSecond = addChild();
    start();
    sendWithObserver("reset-span");
    EXPECT_EQ(pFirst->commands(), (std::vector<std::string>{"reset-span"}));
    EXPECT_EQ(pSecond->commands(), (std::vector<std::string>{"reset-span"}));

    pFirst->answerNotSupported({"b", "a"});
    pSecond->answerSuccess(true, "span reset");
    flushParent();
    EXPECT_EQ(tally.nSuccess, 1);
    EXPECT_EQ(tally.nFailure, 0);
    EXPECT_EQ(tally.nDeleted, 1);
    EXPECT_EQ(tally.lastResult.m_strStatusText, "span reset");
}

TEST_F(ScriptedFanOutTest, SecondResultIsLoggedAndIgnored)
{
    ScriptedChildExecuter* pFirst = addChild();
    ScriptedChildExecuter* pSecond = addChild();
    start();
    sendWithObserver("reset-span");
    LogCapture capture("linkhaven.oam.CmdExecSM");
    pSecond->answerSuccess(false, "second child first");
    pFirst->answerSuccess(true, "first child later");
    flushParent();
    EXPECT_EQ(tally.nSuccess, 1);
    EXPECT_FALSE(tally.lastResult.m_bExecSuccess);
    EXPECT_EQ(tally.lastResult.m_strStatusText, "second child first");
    EXPECT_TRUE(capture.contains(WARN_LOG_LEVEL, "unexpected ExecCmd success in final state. Ignoring"));
}

TEST_F(ScriptedFanOutTest, EveryChildNotSupportingGivesTheSortedUnionWithTheTasksOwnNames)
{
    parent.addSupportedName("z-own");
    parent.addSupportedName("a");
    ScriptedChildExecuter* pFirst = addChild();
    ScriptedChildExecuter* pSecond = addChild();
    start();
    sendWithObserver("nope");
    pFirst->answerNotSupported({"b", "a"});
    flushParent();
    EXPECT_EQ(tally.nFailure, 0) << "told before the last child answered";
    pSecond->answerNotSupported({"a", "c"});
    flushParent();
    EXPECT_EQ(tally.nFailure, 1);
    EXPECT_EQ(tally.vLastSupported, (StringVector{"a", "b", "c", "z-own"}));
}

TEST_F(ScriptedFanOutTest, SynchronousCallerSeesOneLinePerSupportedName)
{
    ScriptedChildExecuter* pFirst = addChild();
    ScriptedChildExecuter* pSecond = addChild();
    start();
    auto answer = std::async(std::launch::async, [&] {
        SoapOAM__OAMCommandExecResult result;
        EXPECT_TRUE(parent.executeCommand(commandOf("nope"), result, ACE_Time_Value::max_time));
        return result;
    });
    ASSERT_TRUE(pSecond->waitForCommands(1));
    pFirst->answerNotSupported({"get-span", "reset-span"});
    pSecond->answerNotSupported({"get-span", "block-span"});
    const SoapOAM__OAMCommandExecResult result = answer.get();
    EXPECT_FALSE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "Command not supported. Supported commands :\nblock-span\nget-span\nreset-span");
}

TEST_F(ScriptedFanOutTest, NullObserverStillReachesTheChildren)
{
    ScriptedChildExecuter* pChild = addChild();
    start();
    LogCapture capture("linkhaven.oam");
    ASSERT_TRUE(parent.executeCommand(commandOf("reset-span"), nullptr));
    flushParent();
    EXPECT_EQ(pChild->commands(), (std::vector<std::string>{"reset-span"}));
    pChild->answerSuccess(true, "done");
    flushParent();
    int nFailures = -1;
    ASSERT_TRUE(runOnTaskThread(parent.getActivationQueue(), [&] { nFailures = parent.m_nMOFailures; }));
    EXPECT_EQ(nFailures, 0);
    for (const CapturedLine& line : capture.lines())
        EXPECT_LT(line.level, WARN_LOG_LEVEL) << line.strLogger << ": " << line.strMessage;
}

TEST_F(ScriptedFanOutTest, RefusingChildStopsTheFanOutAndEarlierChildrenKeepTheCommand)
{
    ScriptedChildExecuter* pFirst = addChild();
    ScriptedChildExecuter* pRefusing = addChild(false);
    ScriptedChildExecuter* pLast = addChild();
    start();
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    sendWithObserver("reset-span");
    EXPECT_EQ(pFirst->commands().size(), 1u);
    EXPECT_EQ(pRefusing->commands().size(), 1u);
    EXPECT_TRUE(pLast->commands().empty());
    EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL, "executeCommand failed"));
    int nFailures = 0;
    ASSERT_TRUE(runOnTaskThread(parent.getActivationQueue(), [&] { nFailures = parent.m_nMOFailures; }));
    EXPECT_EQ(nFailures, 1);

    pFirst->answerSuccess(true, "from the first");
    flushParent();
    EXPECT_EQ(tally.nSuccess, 1);
    EXPECT_EQ(tally.lastResult.m_strStatusText, "from the first");
}

namespace {

// Answers "span-status" on the child task's own thread.
class SpanStatusHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    bool executeCommand(const OAMCommand&, SoapOAM__OAMCommandExecResult& io_result) override
    {
        io_result.m_strStatusText = "span up";
        return true;
    }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << "span-status"; }
    bool checkUsage(const OAMCommand&, SoapOAM__OAMCommandExecResult&) const override { return true; }
};

uint64_t account(const char* in_szName, uint64_t MemAccountInfo::*in_field)
{
    MemAccountInfo info;
    return StaticAccountMemAllocator::getMemAccountInfo(in_szName, info) ? info.*in_field : 0;
}

const char* const TRANSIENT_ACCOUNTS[] = {"CmdExecObserverProxy", "CmdSuccess_MO",         "CmdFailure_MO",
                                          "ProxyDestruction_MO",  "ExecCmd_MO",            "FutureCmdExecObserver"};

} // namespace

TEST(CmdExecFanOutPool, GrowsOnlyToThePeakInFlightAndEverythingComesBack)
{
    std::vector<uint64_t> vStartLive;
    for (const char* szAccount : TRANSIENT_ACCOUNTS)
        vStartLive.push_back(account(szAccount, &MemAccountInfo::m_ulLiveBlocks));
    const uint64_t ulStartMachines = account("CmdExecSM", &MemAccountInfo::m_ulAllocations);
    const uint64_t ulStartLiveMachines = account("CmdExecSM", &MemAccountInfo::m_ulLiveBlocks);
    constexpr int CALLERS = 4;
    constexpr int COMMANDS_PER_CALLER = 1500;
    {
        TestExecuterTask parent("pool-parent");
        std::vector<TestExecuterTask*> vChildren;
        for (const char* szName : {"answering-child", "silent-child-1", "silent-child-2"}) {
            auto* pChild = new TestExecuterTask(szName);
            if (vChildren.empty())
                pChild->addHandler("span-status", new SpanStatusHandler());
            else
                pChild->addSupportedName(szName);
            parent.addCmdExecuter(TestExecuterTask::ChildExecuterPtr(pChild));
            vChildren.push_back(pChild);
        }
        for (TestExecuterTask* pChild : vChildren)
            ASSERT_TRUE(pChild->start());
        ASSERT_TRUE(parent.start());

        std::vector<std::thread> vCallers;
        std::atomic<int> nAnswered{0};
        for (int caller = 0; caller < CALLERS; ++caller) {
            vCallers.emplace_back([&, caller] {
                for (int i = 0; i < COMMANDS_PER_CALLER; ++i) {
                    SoapOAM__OAMCommandExecResult result;
                    // Every seventh command gives up at once, so its answer arrives after the time-out.
                    const ACE_Time_Value timeout = (i + caller) % 7 == 0 ? ACE_Time_Value::zero : ACE_Time_Value(60);
                    const bool bUnknown = i % 3 == 0;
                    if (parent.executeCommand(commandOf(bUnknown ? "nope" : "span-status"), result, timeout))
                        ++nAnswered;
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
        const std::optional<PoolFigures> figures = poolFiguresOf(parent);
        ASSERT_TRUE(figures);
        const uint64_t ulIdle = figures->uiIdle;
        const uint64_t ulNextProxyId = figures->ulNextProxyId;
        // Every machine ever made is idle again; at most a few were ever out at once.
        EXPECT_EQ(ulIdle, ulCreated);
        EXPECT_GE(ulCreated, 1u);
        EXPECT_LE(ulCreated, 2u * CALLERS * 3);
        // Identifiers were reused: the next is below the number of proxies ever alive at once.
        EXPECT_LT(ulNextProxyId, ulCreated * vChildren.size());
        for (size_t i = 0; i < std::size(TRANSIENT_ACCOUNTS); ++i)
            EXPECT_EQ(account(TRANSIENT_ACCOUNTS[i], &MemAccountInfo::m_ulLiveBlocks), vStartLive[i])
                << TRANSIENT_ACCOUNTS[i];
    }
    EXPECT_EQ(account("CmdExecSM", &MemAccountInfo::m_ulLiveBlocks), ulStartLiveMachines);
}

TEST_F(ScriptedFanOutTest, MachineGoesBackToThePoolOnceAfterItsLastProxy)
{
    std::vector<ScriptedChildExecuter*> vChildren = {addChild(), addChild(), addChild()};
    start();
    sendWithObserver("reset-span");
    LogCapture capture("linkhaven.oam.OAMCmdExecuterTaskImpl");
    for (ScriptedChildExecuter* pChild : vChildren) {
        pChild->answerNotSupported({});
        flushParent();
    }
    EXPECT_EQ(tally.nFailure, 1);
    int nTakenBack = 0;
    for (const CapturedLine& line : capture.lines())
        nTakenBack += line.level == DEBUG_LOG_LEVEL && line.strMessage == "Pool took back a CmdExecSM";
    EXPECT_EQ(nTakenBack, 1);
    size_t uiIdle = 0;
    ASSERT_TRUE(runOnTaskThread(parent.getActivationQueue(), [&] { uiIdle = parent.cmdExecSMPoolForTest().getNumUnused(); }));
    EXPECT_EQ(uiIdle, 1u);
}

TEST_F(ScriptedFanOutTest, ALevelSetBetweenCommandsIsInForceForTheNextOne)
{
    Logger machineLogger("linkhaven.oam.CmdExecSM");
    machineLogger.setLogLevel(INFO_LOG_LEVEL);
    ScriptedChildExecuter* pChild = addChild();
    start();
    sendWithObserver("reset-span");
    pChild->answerNotSupported({});
    flushParent();
    {
        // The machine of the first command, back in the pool, serves the second.
        LogCapture capture("linkhaven.oam.CmdExecSM");
        sendWithObserver("block-span");
        pChild->answerNotSupported({});
        flushParent();
        EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "in_szCmdName=block-span"));
    }
    EXPECT_EQ(tally.nFailure, 2);
    machineLogger.setLogLevel(NOT_SET_LOG_LEVEL);
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

TEST_F(ScriptedFanOutTest, AProxyGoneWhileTheParentStopsIsClearedForTheNextRun)
{
    ScriptedChildExecuter* pChild = addChild();
    start();
    sendWithObserver("reset-span");
    // The parent's thread is held while its stop is queued, and the child's answer and the
    // destruction of its proxy queue up behind the stop, so the run ends without running them.
    CountDownLatch holding(1), released(1);
    ASSERT_TRUE(Task::enqueue(parent.getActivationQueue(),
                              new RunOnTaskThread_MO([&] { holding.countDown(); released.wait(); }, std::promise<void>()),
                              "hold"));
    ASSERT_TRUE(holding.wait());
    ASSERT_TRUE(parent.stop());
    pChild->answerNotSupported({});
    released.countDown();
    ASSERT_TRUE(parent.waitUntilDone());
    EXPECT_EQ(tally.nFailure, 0) << "the answer went with the run";

    start();
    const std::optional<PoolFigures> figures = poolFiguresOf(parent);
    ASSERT_TRUE(figures);
    EXPECT_EQ(figures->uiIdle, 1u);
    EXPECT_EQ(figures->ulNextProxyId, 0u);
}
