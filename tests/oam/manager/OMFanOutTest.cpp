#include <future>
#include <sstream>

#include <unistd.h>

#include "host/core/StaticAccountMemAllocator.h"
#include "oam/om/OMObserverProxy.h"
#include "oam/om/OMTaskManager.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"
#include "tests/oam/command/ScriptedChildExecuter.h"
#include "tests/oam/command/TestExecuterTask.h"
#include "tests/oam/manager/StartedManager.h"
#include "tests/support/LogCapture.h"

namespace {
const char* const STATE_OM = OMTaskManager::STATE_OM_NAME;

// The requests that a manager's reporters were given, counted together.
struct Asks
{
    // False when none came after a minute: a hang turned into a failure.
    bool waitForMoreThan(int in_nAsks)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return cond.wait_for(lock, std::chrono::minutes(1), [&] { return nAsks > in_nAsks; });
    }
    std::mutex mutex;
    std::condition_variable cond;
    int nAsks = 0;
};

// Keeps the observers it is given (or refuses every request), so that the test answers through
// them when it chooses, from its own thread.
struct ScriptedReporter : OMReporter
{
    ScriptedReporter(bool in_bAccept, Asks& io_asks) : bAccept(in_bAccept), asks(io_asks) {}
    bool getOM(const char*, OMObserver* in_pObserver) override
    {
        std::unique_ptr<OMObserver> pObserver(in_pObserver);
        std::lock_guard<std::mutex> lock(asks.mutex);
        ++nAsked;
        ++asks.nAsks;
        asks.cond.notify_all();
        if (bAccept)
            vpObservers.push_back(std::move(pObserver));
        return bAccept;
    }
    // '+' success with the value, '-' failure, 'x' dropped untold; '*' after it keeps the observer.
    void answer(const std::string& in_strStep)
    {
        std::unique_lock<std::mutex> lock(asks.mutex);
        std::unique_ptr<OMObserver> pObserver = std::move(vpObservers.front());
        vpObservers.erase(vpObservers.begin());
        lock.unlock();
        if (in_strStep[1] == '+')
            pObserver->getOMSuccess("linkhaven.om.x", ParameterValue(in_strStep.substr(2, in_strStep.find('*') - 2)));
        else if (in_strStep[1] == '-')
            pObserver->getOMFailure("linkhaven.om.x");
        if (in_strStep.back() == '*')
            vpObservers.insert(vpObservers.begin(), std::move(pObserver));
    }
    const bool bAccept;
    Asks& asks;
    int nAsked = 0; // under the asks' lock
    std::vector<std::unique_ptr<OMObserver>> vpObservers;
};

// Deleted on the manager's thread once all queued before it has run there.
struct FlushObserver : OMObserver
{
    explicit FlushObserver(CountDownLatch& io_done) : done(io_done) {}
    ~FlushObserver() override { done.countDown(); }
    bool getOMSuccess(const char*, const ParameterValue&) override { return true; }
    bool getOMFailure(const char*) override { return true; }
    CountDownLatch& done;
};

void flush(OAMManager& io_manager)
{
    CountDownLatch done(1);
    ASSERT_TRUE(io_manager.getOM("", new FlushObserver(done)));
    ASSERT_TRUE(done.wait());
}

uint64_t account(const char* in_szName, uint64_t MemAccountInfo::*in_field = &MemAccountInfo::m_ulAllocations)
{
    MemAccountInfo info;
    return StaticAccountMemAllocator::getMemAccountInfo(in_szName, info) ? info.*in_field : 0;
}

// The value, or "!" for an invalid result.
std::string read(OAMManager& io_manager, const char* in_szName, ACE_Time_Value in_timeout = ACE_Time_Value::max_time)
{
    ParameterValue value;
    return io_manager.getOM(in_szName, value, in_timeout) ? value.getText() : "!";
}
} // namespace

// Steps: "ask" reads on another thread without limit, "late" with a zero time-out (false at once);
// "asked:01" names the reporters the last read reached; "1+v", "1-", "1x" answer through reporter 1
// (then the manager has run the answer); "wait" expects no result yet; "=v" the value, "=!" none.
TEST(OMFanOut, ReadsAskEveryReporterUntilOneSucceedsThenTheOneThatGaveTheNameLast)
{
    const struct { const char* szName; std::vector<bool> vAccepting; std::string strScript; uint64_t ulMachines; StringVector vWarnings; } cases[] = {
        {"second succeeds", {1, 1, 1}, "ask asked:012 0- wait 1+b =b 2- ask asked:1 1+c =c", 1, {}},
        {"all fail", {1, 1, 1}, "ask 0- 1- wait 2- =! ask asked:012 0- 1- 2- =!", 1, {}},
        {"two succeed", {1, 1}, "ask 1+b 0+a =b ask asked:0 0+c =c", 1, {}},
        {"remembered one fails", {1, 1, 1}, "ask 0- 1+b 2- =b ask asked:1 1- =! ask asked:1 1+d =d", 1, {}},
        {"answer after the deadline", {1}, "late asked:0 0+a ask asked:0 0+b =b", 1, {}},
        {"two at once", {1}, "ask ask 0+a =a 0+b =b ask 0+c =c", 2, {}},
        {"extra answers", {1}, "ask 0+a* =a 0+b* 0- ask asked:0 0+c =c", 1,
         {"unexpected OM success in final state. Ignoring", "unexpected OM failure in final state. Ignoring"}},
        {"refused", {1, 0, 1}, "ask asked:01 0- =!", 1, {}},
        {"refused by the first", {0, 1}, "ask asked:0 =!", 1, {}},
        {"dropped", {1, 1}, "ask 0x wait 1x =!", 1, {}},
    };
    RWGlobalConfig::getInstance()->setValue("linkhaven.system.cpu.monitor.monitoringPeriodInMs", ParameterValue(0L));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        OAMManager manager;
        Asks asks;
        ASSERT_TRUE(manager.initialize(GlobalConfig::getInstance()));
        manager.setTaskName("om-fan-out");
        std::vector<ScriptedReporter*> vReporters;
        for (bool bAccepting : c.vAccepting) {
            vReporters.push_back(new ScriptedReporter(bAccepting, asks));
            manager.addOMReporter(OAMManager::OMReporterPtr(vReporters.back()));
        }
        ASSERT_TRUE(manager.start());
        const uint64_t ulMachinesBefore = account("GetOMSM"), ulProxiesLive = account("OMObserverProxy", &MemAccountInfo::m_ulLiveBlocks);
        LogCapture capture("linkhaven.oam.GetOMSM");
        std::vector<std::future<std::string>> vResults;
        std::vector<int> vAskedBefore(vReporters.size());
        std::istringstream script(c.strScript);
        for (std::string strStep; script >> strStep;) {
            SCOPED_TRACE(strStep);
            if (strStep == "ask" || strStep == "late") {
                const int nAsksBefore = asks.nAsks; // the manager's thread is idle
                for (size_t i = 0; i < vReporters.size(); ++i)
                    vAskedBefore[i] = vReporters[i]->nAsked;
                if (strStep == "late")
                    EXPECT_EQ(read(manager, "linkhaven.om.x", ACE_Time_Value::zero), "!");
                else
                    vResults.push_back(std::async(std::launch::async, [&] { return read(manager, "linkhaven.om.x"); }));
                ASSERT_TRUE(asks.waitForMoreThan(nAsksBefore));
                flush(manager); // every reporter of the read has been asked
            } else if (strStep.rfind("asked:", 0) == 0) {
                std::string strAsked;
                for (size_t i = 0; i < vReporters.size(); ++i)
                    if (vReporters[i]->nAsked > vAskedBefore[i])
                        strAsked += char('0' + i);
                EXPECT_EQ(strAsked, strStep.substr(6));
            } else if (strStep == "wait") {
                EXPECT_EQ(vResults.front().wait_for(std::chrono::seconds(0)), std::future_status::timeout);
            } else if (strStep[0] == '=') {
                ASSERT_EQ(vResults.front().wait_for(std::chrono::minutes(1)), std::future_status::ready);
                EXPECT_EQ(vResults.front().get(), strStep.substr(1));
                vResults.erase(vResults.begin());
            } else {
                vReporters[strStep[0] - '0']->answer(strStep);
                flush(manager);
            }
        }
        EXPECT_EQ(account("GetOMSM") - ulMachinesBefore, c.ulMachines) << "the pool grows only to the peak in flight";
        EXPECT_EQ(account("OMObserverProxy", &MemAccountInfo::m_ulLiveBlocks), ulProxiesLive);
        StringVector vWarnings;
        for (const CapturedLine& line : capture.lines())
            if (line.level >= WARN_LOG_LEVEL)
                vWarnings.push_back(line.strMessage);
        EXPECT_EQ(vWarnings, c.vWarnings);
        manager.stop();
        manager.waitUntilDone();
    }
}

namespace {
using TaskManagerPtr = CountedObjPtr<OMTaskManager, TSReferenceCount>;

// A manager named twice, whose one reporter is a task manager that runs a real task.
class ManagerWithTaskManagerTest : public StartedManagerTest
{
  protected:
    void beforeStart(OAMManager& io_manager) override
    {
        io_manager.setTaskName(TASK_NAME);
        ASSERT_TRUE(group->addTask(task) && group->start() && group->waitForStart());
        io_manager.addOMReporter(group);
    }
    void TearDown() override
    {
        StartedManagerTest::TearDown();
        group->stop();
        group->waitUntilDone();
    }
    TestReactorTask task{"om-task"};
    TaskManagerPtr group{new OMTaskManager("om-group")};
};
} // namespace

TEST_F(ManagerWithTaskManagerTest, OwnOMsFollowTheAppenderWithoutAskingTheReporter)
{
    char szHostname[256] = {};
    const std::string strHostname = gethostname(szHostname, sizeof(szHostname) - 1) == 0 ? szHostname : "???";
    const uint64_t ulProxies = account("OMObserverProxy");
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"at start", "GREEN", ""}, {"after an error", "ORANGE", "span 3 lost"}, {"after reset-alarm-state", "GREEN", ""}};
    for (const auto& [szWhen, strState, strLastAlarm] : cases) {
        SCOPED_TRACE(szWhen);
        if (std::string(szWhen) == "after an error") {
            LH_ERROR(Logger("linkhaven.test.om"), "span 3 lost");
        } else if (std::string(szWhen) == "after reset-alarm-state") {
            EXPECT_EQ(execute("reset-alarm-state").m_strStatusText, "Success");
        }
        EXPECT_EQ(read(*m_pManager, "linkhaven.om.OAMManager.alarmState"), strState);
        EXPECT_EQ(read(*m_pManager, "linkhaven.om.OAMManager.lastAlarm"), strLastAlarm);
        EXPECT_EQ(read(*m_pManager, "linkhaven.om.OAMManager.hostname"), strHostname);
    }
    EXPECT_EQ(account("OMObserverProxy"), ulProxies);
}

TEST_F(ManagerWithTaskManagerTest, GetOmAnswersTheValueAsTextOrErrorWhenNoneCame)
{
    const std::tuple<const char*, bool, std::string> cases[] = {
        {STATE_OM, true, "RUNNING"}, {"linkhaven.om.OAMManager.alarmState", true, "GREEN"}, {"linkhaven.om.none", false, "Error"}};
    for (const auto& [szName, bSuccess, strText] : cases) {
        SCOPED_TRACE(szName);
        const SoapOAM__OAMCommandExecResult result = execute("get-om", {szName});
        EXPECT_EQ(std::make_tuple(m_bAnswered, result.m_bExecSuccess, result.m_strStatusText), std::make_tuple(bSuccess, bSuccess, strText));
    }
}

TEST_F(ManagerWithTaskManagerTest, EveryOMObjectComesBackAfterThousandsOfReadsSomeTimedOut)
{
    const char* const ACCOUNTS[] = {"OMObserverProxy", "OMObserverProxy::OMSuccess_MO", "OMObserverProxy::OMFailure_MO",
                                    "ProxyDestruction_MO", "OAMManager::SynchGetOM_MO", "OMReporterTaskImpl::GetOM_MO"};
    std::vector<uint64_t> vLiveBefore;
    for (const char* szAccount : ACCOUNTS)
        vLiveBefore.push_back(account(szAccount, &MemAccountInfo::m_ulLiveBlocks));
    const uint64_t ulMachinesBefore = account("GetOMSM");
    const char* const NAMES[] = {STATE_OM, "linkhaven.om.none", "linkhaven.om.OAMManager.hostname"};
    constexpr int CALLERS = 4;
    std::vector<std::thread> vCallers;
    for (int caller = 0; caller < CALLERS; ++caller)
        vCallers.emplace_back([&, caller] {
            for (int i = 0; i < 1500; ++i) // every seventh gives up at once, its answer comes later
                read(*m_pManager, NAMES[i % 3], (i + caller) % 7 == 0 ? ACE_Time_Value::zero : ACE_Time_Value(60));
        });
    for (std::thread& caller : vCallers)
        caller.join();
    // The reads queued, the group's answers to them, and the observers' destruction behind those.
    flush(*m_pManager);
    ASSERT_TRUE(runOnTaskThread(group->getActivationQueue(), [] {}));
    flush(*m_pManager);
    for (size_t i = 0; i < std::size(ACCOUNTS); ++i)
        EXPECT_EQ(account(ACCOUNTS[i], &MemAccountInfo::m_ulLiveBlocks), vLiveBefore[i]) << ACCOUNTS[i];
    EXPECT_LE(account("GetOMSM") - ulMachinesBefore, 4u * CALLERS) << "no more machines than reads in flight";
}

namespace {
// A second group, started only when the test says so, and whose stop waits for its task.
class TwoTaskManagersTest : public ManagerWithTaskManagerTest
{
  protected:
    void beforeStart(OAMManager& io_manager) override
    {
        ManagerWithTaskManagerTest::beforeStart(io_manager);
        ASSERT_TRUE(lateGroup->addTask(deferringTask));
        io_manager.addOMReporter(lateGroup);
    }
    void TearDown() override
    {
        ManagerWithTaskManagerTest::TearDown();
        lateGroup->kill();
        lateGroup->waitUntilDone();
    }
    TestReactorTask deferringTask{"deferring-task", true};
    TaskManagerPtr lateGroup{new OMTaskManager("late-group")};
};
} // namespace

TEST_F(TwoTaskManagersTest, TheFirstAnswerIsTheCallersAndTheGroupThatAnsweredLastIsAskedNext)
{
    EXPECT_EQ(read(*m_pManager, STATE_OM), "RUNNING") << "from the running group; the late one's request waits";
    ASSERT_TRUE(lateGroup->start() && lateGroup->waitForStart());
    ASSERT_TRUE(runOnTaskThread(lateGroup->getActivationQueue(), [] {}));
    flush(*m_pManager);
    ASSERT_TRUE(lateGroup->stop());
    EXPECT_EQ(read(*m_pManager, STATE_OM), "STOPPING") << "the running group is not asked";
}

// A command that no child can answer any more ends a wait without limit.
TEST(CmdExecFanOut, ACommandThatEveryChildLetGoEndsTheCallersWait)
{
    TestExecuterTask parent("parent");
    auto* const pChild = new ScriptedChildExecuter(true);
    parent.addCmdExecuter(TestExecuterTask::ChildExecuterPtr(pChild));
    parent.addCmdExecuter(TestExecuterTask::ChildExecuterPtr(new ScriptedChildExecuter(false)));
    ASSERT_TRUE(parent.start());
    SoapOAMCommand command;
    command.setName("reset-span");
    auto answer = std::async(std::launch::async, [&] {
        SoapOAM__OAMCommandExecResult result;
        const bool bAnswered = parent.executeCommand(command, result, ACE_Time_Value::max_time);
        return std::make_tuple(bAnswered, result.m_bExecSuccess, result.m_strStatusText);
    });
    ASSERT_TRUE(pChild->waitForCommands(1));
    pChild->answerNotSupported({});
    ASSERT_EQ(answer.wait_for(std::chrono::minutes(1)), std::future_status::ready);
    EXPECT_EQ(answer.get(), std::make_tuple(false, false, std::string("Error")));
}
