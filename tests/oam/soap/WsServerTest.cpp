// The web-service runnable and the command client over loopback sockets, against a started manager.

#include <future>
#include <map>
#include <mutex>

#include <gtest/gtest.h>

#include "host/infra/RWConfiguration.h"
#include "oam/command/OAMCmdExecObserver.h"
#include "oam/command/SoapOAMCommand.h"
#include "oam/manager/OAMManager.h"
#include "oam/om/OMObserver.h"
#include "oam/soap/OAMCmdClient.h"
#include "oam/soap/OAMManagerWsJRunnable.h"
#include "tests/oam/soap/SoapTexts.h"
#include "tests/support/LogCapture.h"
#include "tests/support/Loopback.h"

namespace {
using Settings = std::map<std::string, ParameterValue>;
const std::string OK_ME = "<SoapOAM:executeCommand><in-cmd><m-strName>ok-me</m-strName></in-cmd></SoapOAM:executeCommand>";
const std::string OK_RESULT = "<SoapOAM:OAMCommandExecResult><m-bExecSuccess>true</m-bExecSuccess>"
                              "<m-strStatusText>done &lt;ok&gt;</m-strStatusText></SoapOAM:OAMCommandExecResult>";
std::string fault(const std::string& in_strCode, const std::string& in_strString)
{
    return "<SOAP-ENV:Fault><faultcode>SOAP-ENV:" + in_strCode + "</faultcode><faultstring>" + in_strString + "</faultstring></SOAP-ENV:Fault>";
}
const std::string E500 = "HTTP/1.1 500 Internal Server Error ";

// Answers "ok-me" with success, keeps "hold" unanswered, fails anything else.
struct Child : OAMCmdExecuter
{
    bool executeCommand(const OAMCommand& in_cmd, OAMCmdExecObserver* in_pObserver) override
    {
        std::unique_ptr<OAMCmdExecObserver> pObserver(in_pObserver);
        SoapOAM__OAMCommandExecResult result;
        result.m_bExecSuccess = std::string(in_cmd.getName()) == "ok-me";
        result.m_strStatusText = result.m_bExecSuccess ? "done <ok>" : "it failed";
        if (std::string(in_cmd.getName()) != "hold")
            return pObserver->executeCommandSuccess(result);
        m_pHeld = std::move(pObserver); // answered by nobody until the manager goes
        m_held.set_value();
        return true;
    }
    std::promise<void> m_held;
    std::unique_ptr<OAMCmdExecObserver> m_pHeld;
};

// Reports "linkhaven.om.test.integer" as 42 and the channel status as the test sets it.
struct Reporter : OMReporter
{
    bool getOM(const char* in_szOMName, OMObserver* in_pObserver) override
    {
        std::unique_ptr<OMObserver> pObserver(in_pObserver);
        std::lock_guard<std::mutex> lock(m_mutex);
        const ParameterValue value = std::string(in_szOMName) == "linkhaven.om.test.integer" ? ParameterValue(42L) : m_channelStatus;
        return value.hasValue() ? pObserver->getOMSuccess(in_szOMName, value) : pObserver->getOMFailure(in_szOMName);
    }
    std::mutex m_mutex;
    ParameterValue m_channelStatus;
};

std::string soapPost(const std::string& in_strBody) { return httpAround("POST / HTTP/1.1", envelopeAround(in_strBody)); }

std::string bodyOf(const std::string& in_strAnswer)
{
    const size_t uiStart = in_strAnswer.find('>', in_strAnswer.find("<SOAP-ENV:Body")), uiEnd = in_strAnswer.find("</SOAP-ENV:Body>");
    return uiEnd == std::string::npos ? in_strAnswer : in_strAnswer.substr(uiStart + 1, uiEnd - uiStart - 1);
}
// The status line, then the fault string if there is one.
std::string statusAndFault(const std::string& in_strAnswer)
{
    const size_t uiFault = in_strAnswer.find("<faultstring>") + 13, uiEnd = in_strAnswer.find("</faultstring>");
    return in_strAnswer.substr(0, in_strAnswer.find("\r\n")) + (uiEnd == std::string::npos ? "" : " " + in_strAnswer.substr(uiFault, uiEnd - uiFault));
}
} // namespace

class WsServerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        auto hConfig = TSHandle<RWConfiguration>::make();
        hConfig->setValue("linkhaven.system.cpu.monitor.monitoringPeriodInMs", ParameterValue(0L));
        m_pManager->initialize(hConfig);
        m_pManager->setTaskName("OAMManager");
        m_pManager->addCmdExecuter(OAMManager::ChildExecuterPtr(m_pChild));
        m_pManager->addOMReporter(OAMManager::OMReporterPtr(m_pReporter));
        ASSERT_TRUE(m_pManager->start() && m_pManager->waitForStart(ACE_Time_Value(60)));
    }
    void TearDown() override
    {
        if (m_result.valid())
            stopServer();
        m_pRunnable.reset();
        m_pManager->stop();
        m_pManager->waitUntilDone();
    }

    // The first state that the run reported: RUNNING_STATE once bound, STOPPED_STATE when it gave up.
    Task::State startServer(Settings in_settings = {}, bool in_bTerminatedFirst = false)
    {
        long lPort = freePort();
        if (!in_settings.emplace("linkhaven.oam.webServicePort", ParameterValue(lPort)).second)
            in_settings["linkhaven.oam.webServicePort"].getInteger(lPort);
        m_nPort = static_cast<int>(lPort);
        auto hConfig = TSHandle<RWConfiguration>::make();
        for (const auto& setting : in_settings)
            hConfig->setValue(setting.first, setting.second);
        m_pRunnable = std::make_unique<OAMManagerWsJRunnable>();
        m_pRunnable->configure(hConfig);
        m_pRunnable->setOAMManager(m_pManager);
        m_pFirstState = std::make_unique<FirstState>();
        m_pRunnable->setRunningObserver(m_pFirstState.get());
        if (in_bTerminatedFirst)
            m_pRunnable->terminate();
        m_result = std::async(std::launch::async, [this] { return m_pRunnable->run(); });
        return m_startState = m_pFirstState->m_state.get_future().get();
    }
    // Terminates, wakes an accept that waits without limit, and gives run's result.
    std::uint32_t stopServer()
    {
        m_pRunnable->terminate();
        if (m_startState == Task::RUNNING_STATE && m_result.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            roundTrip(m_nPort, "", true);
        return m_result.get();
    }
    // run's result once it has ended by itself, or -2 if it still runs after half a minute.
    std::int64_t resultOnceEnded() { return m_result.wait_for(std::chrono::seconds(30)) == std::future_status::ready ? m_result.get() : -2; }
    std::string okMeBody() const { return bodyOf(roundTrip(m_nPort, soapPost(OK_ME))); }
    std::string endpoint(int in_nPort = 0) const { return "http://127.0.0.1:" + std::to_string(in_nPort ? in_nPort : m_nPort); }

    struct FirstState : JRunnable::RunningObserver
    {
        void newTaskState(JRunnable&, Task::State in_state) override { if (!m_bTold.exchange(true)) m_state.set_value(in_state); }
        std::atomic<bool> m_bTold{false};
        std::promise<Task::State> m_state;
    };

    OAMManagerWsJRunnable::OAMManagerPtr m_pManager{new OAMManager()};
    Child* const m_pChild = new Child(); // the manager's
    Reporter* const m_pReporter = new Reporter(); // the manager's
    std::unique_ptr<OAMManagerWsJRunnable> m_pRunnable;
    std::unique_ptr<FirstState> m_pFirstState;
    Task::State m_startState = Task::STOPPED_STATE;
    std::future<std::uint32_t> m_result;
    int m_nPort = 0;
};

TEST_F(WsServerTest, OperationsAnswerWhatTheManagerGivesToAClientOfThisToolkitOrAnother)
{
    LogCapture capture("linkhaven.oam.ManagerWsJRunnable");
    ASSERT_EQ(startServer(), Task::RUNNING_STATE);
    const std::string CHANNEL_STATUS = "<SoapOAM:getPSTNChannelStatus/>";
    const struct Case { std::string strBody; ParameterValue channelStatus; std::string strExpected; } cases[] = {
        {executeCommandAround(""), {}, fault("Client", "No command")},
        {"<SoapOAM:getOM><in-strOmName>linkhaven.om.x</in-strOmName></SoapOAM:getOM>", {}, fault("Server", "No such OM: linkhaven.om.x")},
        {"<SoapOAM:getOM><in-strOmName>linkhaven.om.test.integer</in-strOmName></SoapOAM:getOM>", {}, "<SoapOAM:getOMResponse><out-strOM>42</out-strOM></SoapOAM:getOMResponse>"},
        {CHANNEL_STATUS, ParameterValue("span 1 <up>"), "<SoapOAM:getPSTNChannelStatusResponse><m-value>span 1 &lt;up&gt;</m-value><m-errorcode>0</m-errorcode></SoapOAM:getPSTNChannelStatusResponse>"},
        {CHANNEL_STATUS, ParameterValue(42L), fault("Server", "OM linkhaven.om.pstn.gwNetIf.VSMChannelStatus is not a text")},
        {CHANNEL_STATUS, {}, fault("Server", "No such OM: linkhaven.om.pstn.gwNetIf.VSMChannelStatus")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strBody);
        {
            std::lock_guard<std::mutex> lock(m_pReporter->m_mutex);
            m_pReporter->m_channelStatus = c.channelStatus;
        }
        EXPECT_EQ(bodyOf(roundTrip(m_nPort, soapPost(c.strBody))), c.strExpected);
    }
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "Accepted IP=127.0.0.1"));
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "SoapOAM__executeCommand failure : null command"));
    // Built from the WSDL alone, with the reporter as the last row left it.
    EXPECT_EQ(std::system((std::string(ZEEP_CLIENT_COMMAND) + " " + endpoint()).c_str()), 0);
}

TEST_F(WsServerTest, SettingsAndTheirDefaultsAreLoggedAndABindFailureEndsTheRun)
{
    ACE_SOCK_Acceptor taken, taken18081; // the default port is refused whoever holds it
    const long lTaken = listenOnFreePort(taken);
    // Held even in TIME_WAIT after a demo gateway ran, or held already by one that runs.
    ASSERT_TRUE(taken18081.open(ACE_INET_Addr(static_cast<u_short>(18081), "127.0.0.1"), 1) == 0 || errno == EADDRINUSE);
    const std::string F = "OAMManagerWsJRunnable::run_i : ", BLOCKING = F + "linkhaven.gw.ws.blockingTimeMs ";
    const std::string DEFAULT_BLOCKING = BLOCKING + "parameter was not set or set to an invalid value. Using the default of 1000";
    const std::string BIND_TAIL = " - Error Code: SOAP-ENV:Server String: Address already in use Detail: bind failed in soap_bind(). Ensure "
                                  "that parameter linkhaven.oam.webServiceIpAddress and parameter linkhaven.oam.webServicePort are properly set.";
    // The settings, the lines logged ("%P": the port) and what the run gives.
    const struct Case { Settings settings; std::vector<std::string> vLines; std::uint32_t uiResult; } cases[] = {
        {{}, {DEFAULT_BLOCKING, BLOCKING + "set to 1000", "linkhaven.oam.webServicePort set to %P", F + "linkhaven.oam.webServiceIpAddress parameter was not set", "Socket bind successful on ip address , port %P"}, 0},
        {{{"linkhaven.gw.ws.blockingTimeMs", ParameterValue(-1L)}, {"linkhaven.oam.webServicePort", ParameterValue(-1L)}, {"linkhaven.oam.webServiceIpAddress", ParameterValue("127.0.0.1")}},
         {DEFAULT_BLOCKING, BLOCKING + "set to 1000", "linkhaven.oam.webServicePort parameter was not set or set to an invalid value. Using the default of 18081",
          "linkhaven.oam.webServicePort set to 18081", F + "linkhaven.oam.webServiceIpAddress set to 127.0.0.1", "Cannot bind on ip address 127.0.0.1 port 18081" + BIND_TAIL}, 4294967295u},
        {{{"linkhaven.gw.ws.blockingTimeMs", ParameterValue(0L)}, {"linkhaven.oam.webServiceIpAddress", ParameterValue("")}, {"linkhaven.oam.webServiceIoTimeoutMs", ParameterValue(5000L)}, {"linkhaven.oam.webServicePort", ParameterValue(lTaken)}},
         {BLOCKING + "set to 0", "linkhaven.oam.webServicePort set to %P", F + "linkhaven.oam.webServiceIpAddress set to ", F + "linkhaven.oam.webServiceIoTimeoutMs set to 5000", "Cannot bind on port %P" + BIND_TAIL}, 4294967295u},
    };
    for (const Case& c : cases) {
        LogCapture capture("linkhaven.oam.ManagerWsJRunnable");
        EXPECT_EQ(startServer(c.settings), c.uiResult ? Task::STOPPED_STATE : Task::RUNNING_STATE);
        EXPECT_EQ(stopServer(), c.uiResult);
        std::vector<std::string> vExpected = c.vLines, vLines = capture.messages(DEBUG_LOG_LEVEL);
        for (std::string& strLine : vExpected)
            if (strLine.find("%P") != std::string::npos)
                strLine.replace(strLine.find("%P"), 2, std::to_string(m_nPort));
        vLines.resize(std::min(vLines.size(), vExpected.size()));
        EXPECT_EQ(vLines, vExpected);
    }
}

TEST_F(WsServerTest, TerminationEndsTheRunWhenIdleEvenAskedBeforeItAndRightAfterTheRequestBeingServed)
{
    ASSERT_EQ(startServer({{"linkhaven.gw.ws.blockingTimeMs", ParameterValue(20L)}}, true), Task::RUNNING_STATE);
    EXPECT_EQ(resultOnceEnded(), 0);
    // Without an accept time-out, only the flag read after the request can end the run.
    ASSERT_EQ(startServer({{"linkhaven.gw.ws.blockingTimeMs", ParameterValue(0L)}}), Task::RUNNING_STATE);
    std::future<std::string> answer = std::async(std::launch::async, [this] {
        return bodyOf(roundTrip(m_nPort, soapPost(executeCommandAround("<in-cmd><m-strName>hold</m-strName></in-cmd>"))));
    });
    m_pChild->m_held.get_future().wait();
    m_pRunnable->terminate();
    EXPECT_EQ(answer.get(), fault("Server", "No answer from the OAM manager within 250 ms"));
    EXPECT_EQ(resultOnceEnded(), 0);
    // A client that never finishes its request does not hold the termination.
    ASSERT_EQ(startServer(), Task::RUNNING_STATE);
    const ACE_SOCK_Stream silent = connectTo(m_nPort, "POST / HTTP/1.1\r\n");
    m_pRunnable->terminate();
    EXPECT_EQ(resultOnceEnded(), 0);
}

TEST_F(WsServerTest, ACallerOfACommandAChildHoldsIsReleasedWhenTheManagerStops)
{
    std::future<std::string> call = std::async(std::launch::async, [this] {
        SoapOAM__OAMCommandExecResult result;
        const bool bAnswered = m_pManager->executeCommand(SoapOAMCommand("hold"), result, ACE_Time_Value(3600));
        return std::to_string(bAnswered) + " " + result.m_strStatusText;
    });
    m_pChild->m_held.get_future().wait();
    m_pManager->stop();
    ASSERT_EQ(call.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(call.get(), "0 Error");
}

TEST_F(WsServerTest, ABadRequestIsFaultedOrDroppedAndTheNextOneServed)
{
    ASSERT_EQ(startServer({{"linkhaven.oam.webServiceMaxRequestBytes", ParameterValue(6L << 20)}}), Task::RUNNING_STATE);
    const std::string strOkMe = soapPost(OK_ME), strEnvelope = envelopeAround(OK_ME);
    const std::string EOF_500 = E500 + "End of file or no input: message transfer interrupted";
    auto okMeWith = [](const std::string& in_strName, const std::string& in_strMore = "") {
        return envelopeAround(executeCommandAround("<in-cmd><m-strName" + in_strName + "</m-strName>" + in_strMore + "</in-cmd>"));
    };
    auto post = [](std::string in_strEnvelope, const std::string& in_strAt = "", const std::string& in_strInsert = "") {
        return httpAround("POST / HTTP/1.1", in_strEnvelope.insert(in_strEnvelope.find(in_strAt), in_strInsert));
    };
    std::string strDeep;
    for (int i = 0; i < 100000; ++i)
        strDeep.insert(strDeep.size() / 2, "<a></a>");
    const struct Case { const char* szName; std::string strRequest; bool bHalfClose; std::string strExpected; } cases[] = {
        {"malformed XML", post(okMeWith(" a=\"1>ok-me")), false, EOF_500}, // the body ends inside the attribute
        {"foreign envelope", post(strEnvelope, "soap/envelope/", "x"), false, E500 + "Invalid SOAP message or SOAP version mismatch"},
        {"unknown operation", soapPost("<SoapOAM:reboot/>"), false, E500 + "Method 'SoapOAM:reboot' not implemented: method name or namespace not recognized"},
        {"mustUnderstand header", post(strEnvelope, "<SOAP-ENV:Body>", "<SOAP-ENV:Header><h SOAP-ENV:mustUnderstand=\"1\" xmlns=\"urn:x\"/></SOAP-ENV:Header>"), false,
         E500 + "The data in element 'h' must be understood but cannot be processed"},
        {"empty body", soapPost(""), false, E500 + "Method '' not implemented: method name or namespace not recognized"},
        {"truncated", strOkMe.substr(0, 200), true, ""},
        {"several megabytes", post(okMeWith(">ok-me", "<skipped>" + std::string(4 << 20, 'x') + "</skipped>")), false, "HTTP/1.1 200 OK"},
        {"over the size limit", "POST / HTTP/1.1\r\nContent-Length: 7340032\r\n\r\n" + strEnvelope, false, E500 + "Request larger than 6291456 bytes"},
        {"deep nesting", post(okMeWith(">ok-me", strDeep)), false, EOF_500},
        {"entity expansion", post(okMeWith(">&b;"), "<SOAP-ENV:Envelope", "<!DOCTYPE d [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"), false, "HTTP/1.1 200 OK"},
        {"HTTP GET", "GET / HTTP/1.1\r\nHost: localhost\r\n\r\n", false, "HTTP/1.1 405 Method Not Allowed HTTP GET method not implemented"},
        {"silent close", "", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        EXPECT_EQ(statusAndFault(roundTrip(m_nPort, c.strRequest, c.bHalfClose)), c.strExpected);
        EXPECT_EQ(okMeBody(), OK_RESULT);
    }
}

TEST_F(WsServerTest, ASilentOrTricklingClientIsDroppedAtItsTimeOutAndTheNextRequestServed)
{
    for (const char* szKey : {"linkhaven.oam.webServiceIoTimeoutMs", "linkhaven.oam.webServiceRequestTimeoutMs"}) {
        SCOPED_TRACE(szKey);
        ASSERT_EQ(startServer({{szKey, ParameterValue(300L)}}), Task::RUNNING_STATE);
        const ACE_SOCK_Stream silent = connectTo(m_nPort); // ahead of the next client in the backlog
        EXPECT_EQ(okMeBody(), OK_RESULT);
        EXPECT_EQ(drain(silent), "");
        stopServer();
    }
    // Each byte comes well within the I/O time-out; only the bound on the whole request ends it.
    ASSERT_EQ(startServer({{"linkhaven.oam.webServiceIoTimeoutMs", ParameterValue(1000L)},
                           {"linkhaven.oam.webServiceRequestTimeoutMs", ParameterValue(300L)}}), Task::RUNNING_STATE);
    ACE_SOCK_Stream trickling = connectTo(m_nPort);
    const std::string strRequest = soapPost(OK_ME);
    const ACE_Time_Value tick(0, 20000);
    size_t uiSent = 0;
    // A byte a tick while the server neither answers nor closes.
    for (char byte; uiSent < strRequest.size() && trickling.recv(&byte, 1, &tick) < 0 && errno == ETIME; ++uiSent)
        trickling.send_n(&strRequest[uiSent], 1, MSG_NOSIGNAL);
    EXPECT_LT(uiSent, strRequest.size()) << "the whole request was read";
    stopServer();
    // With several server threads, a client that holds one of them holds no other client back.
    ASSERT_EQ(startServer({{"linkhaven.oam.webServiceThreads", ParameterValue(2L)}}), Task::RUNNING_STATE);
    const ACE_SOCK_Stream holding = connectTo(m_nPort, "POST / HTTP/1.1\r\n");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(okMeBody(), OK_RESULT);
}

TEST_F(WsServerTest, TheCommandClientGivesTheOutcomeAndKeepsTheTextWhenTheCallFails)
{
    ASSERT_EQ(startServer(), Task::RUNNING_STATE);
    ACE_SOCK_Acceptor fake; // answers with another operation's response
    const int nClosedPort = freePort(), nFakePort = listenOnFreePort(fake);
    std::future<std::string> request = std::async(std::launch::async, [&] {
        ACE_SOCK_Stream stream;
        fake.accept(stream);
        // Answered at once; the request is read while the client reads the answer.
        const std::string strAnswer = httpAround("HTTP/1.1 200 OK", envelopeAround("<SoapOAM:getOMResponse><out-strOM>1</out-strOM></SoapOAM:getOMResponse>"));
        stream.send_n(strAnswer.data(), strAnswer.size(), MSG_NOSIGNAL);
        return drain(stream, true);
    });
    const struct Case { const char* szCmd; std::string strEndpoint, strText; bool bResult; } cases[] = {
        {"ok-me", endpoint(), "done <ok>", true},
        {"fail-me", endpoint(), "it failed", false},
        {"ok-me", endpoint(nClosedPort), "untouched", false},
        {"ok-me", endpoint(nFakePort), "untouched", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strEndpoint + " " + c.szCmd);
        LogCapture capture("linkhaven.oam.CmdClient");
        std::string strText = "untouched";
        EXPECT_EQ(OAMCmdClient::executeCommand(c.szCmd, {}, c.strEndpoint, strText, 5000, 60000, 5000), c.bResult);
        EXPECT_EQ(strText, c.strText);
        EXPECT_EQ(capture.contains(ERROR_LOG_LEVEL, "SoapOAM__executeCommand failed"), c.strText == "untouched");
    }
    EXPECT_NE(request.get().find("<in-cmd><m-strName>ok-me</m-strName></in-cmd>"), std::string::npos);
}
