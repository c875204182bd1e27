#include <deque>
#include <future>
#include <sstream>

#include "host/core/AceCleanupLogger.h"
#include "oam/om/GetOM_MO.h"
#include "oam/om/OMTaskManager.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/host/thread/TestReactorTask.h"
#include "tests/oam/manager/StartedManager.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MemAccountFigure.h"

namespace {
const char* const STATE_OM = OMTaskManager::STATE_OM_NAME;
const char* const HOSTNAME_OM = "linkhaven.om.OAMManager.hostname";

// The indexes of the reporters asked since the test last cleared it, in the order asked.
std::mutex g_mutex;
std::condition_variable g_asked;
std::string g_strAsked;

// Keeps the observers it is given (or refuses every request), so that the test answers through
// them when it chooses, from its own thread.
struct ScriptedReporter : OMReporter
{
    ScriptedReporter(bool in_bAccept, size_t in_uiIndex) : bAccept(in_bAccept), cIndex(char('0' + in_uiIndex)) {}
    bool getOM(const char*, OMObserver* in_pObserver) override
    {
        std::unique_ptr<OMObserver> pObserver(in_pObserver);
        std::lock_guard<std::mutex> lock(g_mutex);
        g_strAsked += cIndex;
        g_asked.notify_all();
        if (bAccept)
            vpObservers.push_back(std::move(pObserver));
        return bAccept;
    }
    // "1+v" success with v, "1-" failure, "1x" dropped untold, through the oldest observer, which
    // is then deleted unless a '*' follows.
    void answer(const std::string& in_strStep)
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (in_strStep[1] == '+')
            vpObservers.front()->getOMSuccess("linkhaven.om.x", ParameterValue(in_strStep.substr(2, in_strStep.find('*') - 2)));
        else if (in_strStep[1] == '-')
            vpObservers.front()->getOMFailure("linkhaven.om.x");
        if (in_strStep.back() != '*')
            vpObservers.pop_front();
    }
    const bool bAccept;
    const char cIndex;
    std::deque<std::unique_ptr<OMObserver>> vpObservers; // under g_mutex
};

// The value, or "!" for none. A read of the manager's own OM returns once all queued before it has run.
std::string read(OAMManager& io_manager, const char* in_szName, ACE_Time_Value in_timeout = ACE_Time_Value::max_time)
{
    ParameterValue value;
    return io_manager.getOM(in_szName, value, in_timeout) ? value.getText() : "!";
}
} // namespace

// Steps: "a01" reads on another thread without limit, and the read asks reporters 0 and 1; "l" reads
// with a zero time-out, which has passed before the manager runs it, so it asks none; "1+v", "1-", "1x" answer through reporter 1, and the manager runs the answer;
// "?" expects no result yet, "=v" the value v, "=!" none.
TEST(OMFanOut, ReadsAskEveryReporterUntilOneSucceedsThenTheOneThatGaveTheNameLast)
{
    const struct { const char* szName; std::vector<bool> vAccepting; std::string strScript; uint64_t ulMachines; StringVector vWarnings; } cases[] = {
        {"second succeeds", {1, 1, 1}, "a012 0- ? 1+b =b 2- a1 1+c =c", 1, {}},
        {"all fail", {1, 1, 1}, "a012 0- 1- ? 2- =! a012 0- 1- 2- =!", 1, {}},
        {"two succeed", {1, 1}, "a01 1+b 0+a =b a0 0+c =c", 1, {}},
        {"remembered one fails", {1, 1, 1}, "a012 0- 1+b 2- =b a1 1- =! a1 1+d =d", 1, {}},
        {"caller gone before the read runs", {1}, "l =! a0 0+b =b", 1, {}},
        {"two at once", {1}, "a0 a0 0+a =a 0+b =b a0 0+c =c", 2, {}},
        {"extra answers", {1}, "a0 0+a* =a 0+b* 0- a0 0+c =c", 1,
         {"unexpected OM success in final state. Ignoring", "unexpected OM failure in final state. Ignoring"}},
        {"refused", {1, 0, 1}, "a01 0- =!", 1, {}},
        {"dropped", {1, 1}, "a01 0x ? 1x =!", 1, {}},
    };
    RWGlobalConfig::getInstance()->setValue("linkhaven.system.cpu.monitor.monitoringPeriodInMs", ParameterValue(0L));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szName);
        OAMManager manager;
        std::vector<ScriptedReporter*> vReporters;
        for (bool bAccepting : c.vAccepting)
            manager.addOMReporter(OAMManager::OMReporterPtr(vReporters.emplace_back(new ScriptedReporter(bAccepting, vReporters.size()))));
        manager.initialize(GlobalConfig::getInstance());
        manager.setTaskName("om-fan-out");
        ASSERT_TRUE(manager.start());
        const uint64_t ulMachines = account("GetOMSM"), ulProxies = account("OMObserverProxy", &MemAccountInfo::m_ulLiveBlocks);
        LogCapture capture("linkhaven.oam.GetOMSM");
        Logger("linkhaven.oam.GetOMSM").setLogLevel(WARN_LOG_LEVEL); // until the capture ends
        std::deque<std::future<std::string>> vResults;
        std::istringstream script(c.strScript);
        for (std::string strStep; script >> strStep;) {
            SCOPED_TRACE(strStep);
            if (strStep[0] == 'a' || strStep[0] == 'l') {
                std::unique_lock<std::mutex> lock(g_mutex);
                g_strAsked.clear();
                const ACE_Time_Value timeout = strStep[0] == 'l' ? ACE_Time_Value::zero : ACE_Time_Value::max_time;
                vResults.push_back(std::async(std::launch::async, [&, timeout] { return read(manager, "linkhaven.om.x", timeout); }));
                ASSERT_TRUE(g_asked.wait_for(lock, std::chrono::minutes(1), [&] { return strStep == "l" || !g_strAsked.empty(); }));
                lock.unlock();
                read(manager, HOSTNAME_OM); // the read has asked every reporter it asks
                lock.lock();
                EXPECT_EQ(g_strAsked, strStep.substr(1));
            } else if (strStep == "?") {
                EXPECT_EQ(vResults.front().wait_for(std::chrono::seconds(0)), std::future_status::timeout);
            } else if (strStep[0] == '=') {
                ASSERT_EQ(vResults.front().wait_for(std::chrono::minutes(1)), std::future_status::ready);
                EXPECT_EQ(vResults.front().get(), strStep.substr(1));
                vResults.pop_front();
            } else {
                vReporters[strStep[0] - '0']->answer(strStep);
                read(manager, HOSTNAME_OM);
            }
        }
        EXPECT_EQ(account("GetOMSM") - ulMachines, c.ulMachines) << "the pool grows only to the peak in flight";
        EXPECT_EQ(account("OMObserverProxy", &MemAccountInfo::m_ulLiveBlocks), ulProxies);
        EXPECT_EQ(capture.messages(), c.vWarnings);
        EXPECT_TRUE(manager.stopKillExit(ACE_Time_Value(60)));
    }
}

namespace {
// Gives its text; an empty one gives false.
struct TextHandler : OMReporterTaskImpl::OMHandler
{
    explicit TextHandler(const char* in_szText) : m_strText(in_szText) {}
    bool getOMValue(const char*, ParameterValue& out_value) override { out_value = m_strText; return !m_strText.empty(); }
    const std::string m_strText;
};

struct TextReporter : StaticReactorTaskImpl, OMReporterTaskImpl
{
    explicit TextReporter(const OMHash& in_table) { setTaskName("om-reporter"); m_OMHash = in_table; }
    ~TextReporter() override { kill(); waitUntilDone(); }
    bool getOM(const char* in_szName, OMObserver* in_pObserver) override { return enqueue(new GetOM_MO(*this, in_szName, in_pObserver), "test"); }
};
using HandlerPtr = OMReporterTaskImpl::OMHandlerPtr;

// A manager named twice, whose reporters are two task managers that run real tasks and a reporter of
// texts; the second task's stop waits, so that its group stays STOPPING.
class TaskManagersTest : public StartedManagerTest
{
  protected:
    void beforeStart(OAMManager& io_manager) override
    {
        io_manager.setTaskName(TASK_NAME);
        for (auto [pGroup, pTask] : {std::pair(group, &task), std::pair(lateGroup, &deferringTask)}) {
            ASSERT_TRUE(pGroup->addTask(*pTask) && pGroup->start() && pGroup->waitForStart());
            io_manager.addOMReporter(pGroup);
        }
        ASSERT_TRUE(texts->start());
        io_manager.addOMReporter(texts);
    }
    TestReactorTask task{"om-task"}, deferringTask{"deferring-task", true};
    CountedObjPtr<OMTaskManager, TSReferenceCount> group{new OMTaskManager("om-group")}, lateGroup{new OMTaskManager("late-group")};
    CountedObjPtr<TextReporter, TSReferenceCount> texts{new TextReporter({{"om.count", HandlerPtr(new TextHandler("42"))},
        {"om.broken", HandlerPtr(new TextHandler(""))}})};
};
} // namespace

// The module's own warning, then an error elsewhere, then the reset, without asking the reporters;
// then what a reporter's table gives, or fails to give.
TEST_F(TaskManagersTest, GetOmGivesTheOwnOMsAsTheAppenderHasThemAndAReportersValueAsText)
{
    const uint64_t ulProxies = account("OMObserverProxy");
    const std::string STATE = "get-om linkhaven.om.OAMManager.alarmState", LAST = "get-om linkhaven.om.OAMManager.lastAlarm";
    expectRows({{STATE, true, "GREEN"}, {LAST, true, ""},
                {STATE, true, "YELLOW", [] { LH_WARN(Logger("linkhaven.oam.manager"), "no OM reporter registered"); }},
                {LAST, true, "no OM reporter registered"},
                {STATE, true, "ORANGE", [] { LH_ERROR(Logger("linkhaven.test.om"), "span 3 lost"); }},
                {LAST, true, "span 3 lost"},
                {STATE, true, "GREEN", [this] { execute("reset-alarm-state"); }}, {LAST, true, ""}});
    EXPECT_EQ(account("OMObserverProxy"), ulProxies);
    expectRows({{"get-om om.count", true, "42"}, {"get-om om.Count", false, "Error"}, {"get-om om.broken", false, "Error"}});
}

TEST_F(TaskManagersTest, TheFirstAnswerIsTheCallersAndTheGroupThatAnsweredLastIsAskedNext)
{
    CountDownLatch released(1);
    ASSERT_TRUE(Task::enqueue(lateGroup->getActivationQueue(), new RunOnTaskThread_MO([&] { released.wait(); }, {}), "hold"));
    EXPECT_EQ(read(*m_pManager, STATE_OM), "RUNNING") << "the first group's, while the late one is held";
    released.countDown();
    ASSERT_TRUE(runOnTaskThread(lateGroup->getActivationQueue(), [] {}));
    read(*m_pManager, HOSTNAME_OM); // the late group's answer has run: it answered last
    ASSERT_TRUE(lateGroup->stop());
    EXPECT_EQ(read(*m_pManager, STATE_OM), "STOPPING") << "the first group is not asked";
}

// Alarm notices, warnings and commands come in beside the reads, for the thread sanitizer.
TEST_F(TaskManagersTest, EveryOMObjectComesBackAfterThousandsOfReadsSomeTimedOut)
{
    const auto live = [] { // all of them, which are told apart in the table's test
        uint64_t ulLive = 0;
        for (const char* szAccount : {"OMObserverProxy", "OMObserverProxy::OMSuccess_MO", "OMObserverProxy::OMFailure_MO",
                                      "ProxyDestruction_MO", "OAMManager::SynchGetOM_MO", "OMReporterTaskImpl::GetOM_MO"})
            ulLive += account(szAccount, &MemAccountInfo::m_ulLiveBlocks);
        return ulLive;
    };
    const uint64_t ulLiveBefore = live();
    const uint64_t ulMachines = account("GetOMSM");
    constexpr int CALLERS = 4;
    std::vector<std::thread> vCallers;
    for (int caller = 0; caller < CALLERS; ++caller)
        vCallers.emplace_back([&, caller] {
            const char* const NAMES[] = {STATE_OM, "linkhaven.om.none", HOSTNAME_OM, "om.count"};
            const std::shared_ptr<Alarm> pAlarm = AlarmRegistry::getInstance().defineAlarm("busy" + std::to_string(caller), "");
            for (int i = 0; i < 1600; ++i) { // every seventh gives up at once; its answers come later
                read(*m_pManager, NAMES[i % 4], (i + caller) % 7 == 0 ? ACE_Time_Value::zero : ACE_Time_Value(60));
                if (i % 8 == 0) {
                    AlarmRegistry::getInstance().setAlarmState(*pAlarm, i % 16 ? Alarm::CLEARED_STATE : Alarm::RAISED_STATE);
                    LH_WARN(AceCleanupLogger::get("linkhaven.oam.manager"), "warning " << i);
                    SoapOAM__OAMCommandExecResult result;
                    m_pManager->executeCommand(commandLine(i % 16 ? "get-alarms" : "reset-alarm-state"), result, ACE_Time_Value(60));
                }
            }
        });
    for (std::thread& caller : vCallers)
        caller.join();
    EXPECT_EQ(execute("get-alarms").m_strStatusText, "NO ALARM");
    // The reads still queued, the groups' answers to them, then the observers' destruction; the
    // stop runs behind them all, and the manager's thread ends having deleted every method object.
    read(*m_pManager, HOSTNAME_OM);
    ASSERT_TRUE(runOnTaskThread(group->getActivationQueue(), [] {}) && runOnTaskThread(lateGroup->getActivationQueue(), [] {}) &&
                runOnTaskThread(texts->getActivationQueue(), [] {}));
    ASSERT_TRUE(m_pManager->stop() && m_pManager->waitUntilDone());
    EXPECT_EQ(live(), ulLiveBefore);
    EXPECT_LE(account("GetOMSM") - ulMachines, 4u * CALLERS) << "no more machines than reads in flight";
}

namespace {
// Its reporter is never started: no read it is asked ever gets an answer.
class StalledReporterTest : public StartedManagerTest
{
  protected:
    void beforeStart(OAMManager& io_manager) override { io_manager.addOMReporter(stalled); }
    CountedObjPtr<TextReporter, TSReferenceCount> stalled{new TextReporter({})};
};
} // namespace

TEST_F(StalledReporterTest, ReadsWhoseCallersStoppedWaitingGiveTheirMachinesBack)
{
    const uint64_t ulMachines = account("GetOMSM", &MemAccountInfo::m_ulLiveBlocks);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(read(*m_pManager, "om.count", ACE_Time_Value(0, 10000)), "!");
    EXPECT_NE(read(*m_pManager, HOSTNAME_OM), "!");
    EXPECT_LE(account("GetOMSM", &MemAccountInfo::m_ulLiveBlocks) - ulMachines, 1u);
}
