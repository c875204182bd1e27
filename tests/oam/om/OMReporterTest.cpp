#include <gtest/gtest.h>

#include "host/core/Assertion.h"
#include "oam/om/GetOM_MO.h"
#include "oam/om/OMReporterTaskImpl.h"
#include "host/thread/StaticReactorTaskImpl.h"
#include "tests/host/thread/CountDownLatch.h"
#include "tests/host/thread/RunOnTaskThread.h"
#include "tests/support/LogCapture.h"

namespace {
// What an observer was told, each news followed by "; ", then "deleted"; whether it accepts news.
struct Notes { std::string strText; bool bAccept = true; CountDownLatch deleted{1}; };

struct NotingObserver : OMObserver
{
    explicit NotingObserver(Notes& io_notes) : m_notes(io_notes) {}
    ~NotingObserver() override { m_notes.strText += "deleted"; m_notes.deleted.countDown(); }
    bool getOMSuccess(const char* in_szName, const ParameterValue& in_value) override { return note(in_szName + (" = " + in_value.getText())); }
    bool getOMFailure(const char* in_szName) override { return note(std::string("failure ") + in_szName); }
    bool note(const std::string& in_strNews) { m_notes.strText += in_strNews + "; "; return m_notes.bAccept; }
    Notes& m_notes;
};

// Asks, and waits until the observer is gone.
std::string ask(OMReporter& io_reporter, const char* in_szName, bool in_bAccept = true)
{
    Notes notes{"", in_bAccept};
    EXPECT_TRUE(io_reporter.getOM(in_szName, new NotingObserver(notes)));
    EXPECT_TRUE(notes.deleted.wait());
    return notes.strText;
}

// Gives its text; an empty one gives false, "throw" throws.
struct TextHandler : OMReporterTaskImpl::OMHandler
{
    explicit TextHandler(const char* in_szText) : m_strText(in_szText) {}
    bool getOMValue(const char*, ParameterValue& out_value) override
    {
        if (m_strText == "throw")
            throw 0;
        out_value = m_strText;
        return !m_strText.empty();
    }
    const std::string m_strText;
};

struct TestReporter : StaticReactorTaskImpl, OMReporterTaskImpl
{
    explicit TestReporter(const OMHash& in_table) { setTaskName("om-reporter"); m_OMHash = in_table; }
    ~TestReporter() override { kill(); waitUntilDone(); }
    bool getOM(const char* in_szName, OMObserver* in_pObserver) override { return enqueue(new GetOM_MO(*this, in_szName, in_pObserver), "test"); }
    void handleMOCallFailure() override { ++m_nFailedMOs; }
    int m_nFailedMOs = 0; // task thread
};
} // namespace

TEST(OMReporterTask, EachRequestIsAnsweredAtMostOnceFromTheTableAndItsObserverDeleted)
{
    using Ptr = OMReporterTaskImpl::OMHandlerPtr;
    TestReporter reporter({{"om.count", Ptr(new TextHandler("42"))}, {"om.broken", Ptr(new TextHandler(""))}, {"om.null", Ptr()},
                           {"om.throw", Ptr(new TextHandler("throw"))}});
    ASSERT_TRUE(reporter.start());
    AssertionCapture assertions;
    const struct { std::string strName; bool bAccept; std::string strNotes; int nFailedMOs; std::vector<std::string> vLogged; } cases[] = {
        {"om.count", true, "om.count = 42; deleted", 0, {"getOMSuccess : om.count = 42"}},
        {"om.Count", true, "failure om.Count; deleted", 0, {"getOMFailure : Did NOT find this OM in the hash"}},
        {"om.broken", true, "failure om.broken; deleted", 0, {"getOMFailure : OM handler failed"}},
        {"om.count", false, "om.count = 42; deleted", 1, {"getOMSuccess : om.count = 42"}},
        {"om.nope", false, "failure om.nope; deleted", 1, {"getOMFailure : Did NOT find this OM in the hash"}},
        {"om.null", true, "deleted", 1, {}},
        {"om.throw", true, "deleted", 1, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strName + (c.bAccept ? "" : ", refused by the observer"));
        LogCapture capture("linkhaven.oam.OMReporterTaskImpl");
        Logger("linkhaven.oam.OMReporterTaskImpl").setLogLevel(DEBUG_LOG_LEVEL);
        EXPECT_EQ(ask(reporter, c.strName.c_str(), c.bAccept), c.strNotes);
        std::vector<std::string> vExpected{"OMReporterTaskImpl om-reporter getting OM " + c.strName};
        vExpected.insert(vExpected.end(), c.vLogged.begin(), c.vLogged.end());
        EXPECT_EQ(capture.messages(), vExpected);
        ASSERT_TRUE(runOnTaskThread(reporter.getActivationQueue(), [&] { EXPECT_EQ(std::exchange(reporter.m_nFailedMOs, 0), c.nFailedMOs); }));
    }
    EXPECT_EQ(assertions.conditions(), StringVector{"! foundHandler->second.isNull()"});
}
