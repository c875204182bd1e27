#include <sys/socket.h>

#include "host/core/Assertion.h"
#include "oam/soap/SoapContext.h"
#include "oam/soap/SoapOAMServe.h"
#include "tests/oam/soap/WsServerFixture.h"
#include "tests/support/LogCapture.h"

namespace {
const std::string OK_ME = "<SoapOAM:executeCommand><in-cmd><m-strName>ok-me</m-strName></in-cmd></SoapOAM:executeCommand>";
const std::string OK_RESULT = "<SoapOAM:OAMCommandExecResult><m-bExecSuccess>true</m-bExecSuccess>"
                              "<m-strStatusText>done &lt;ok&gt;</m-strStatusText></SoapOAM:OAMCommandExecResult>";
const std::string EOF_FAULT = "<SOAP-ENV:Fault><faultcode>SOAP-ENV:Client</faultcode><faultstring>End of file or no "
                              "input: message transfer interrupted</faultstring></SOAP-ENV:Fault>";

std::string command(const std::string& in_strInCmd)
{
    return "<SoapOAM:executeCommand>" + in_strInCmd + "</SoapOAM:executeCommand>";
}

// The status line, then the fault string if there is one.
std::string statusAndFault(const std::string& in_strAnswer)
{
    const size_t uiFault = in_strAnswer.find("<faultstring>");
    return in_strAnswer.substr(0, in_strAnswer.find("\r\n")) +
           (uiFault == std::string::npos ? "" : " " + in_strAnswer.substr(uiFault + 13, in_strAnswer.find("</faultstring>") - uiFault - 13));
}

std::vector<std::string> debugLines(const LogCapture& in_capture)
{
    std::vector<std::string> vLines;
    for (const CapturedLine& line : in_capture.lines())
        if (line.level == DEBUG_LOG_LEVEL)
            vLines.push_back(line.strMessage);
    return vLines;
}
} // namespace

TEST_F(WsServerFixture, OperationsAnswerWhatTheManagerGives)
{
    LogCapture capture("linkhaven.oam.ManagerWsJRunnable");
    ASSERT_EQ(startServer(), Task::RUNNING_STATE);
    const struct Case
    {
        std::string strBody, strExpected;
    } cases[] = {
        {OK_ME, OK_RESULT},
        {command("<in-cmd><m-strName>fail-me</m-strName></in-cmd>"),
         "<SoapOAM:OAMCommandExecResult><m-bExecSuccess>false</m-bExecSuccess><m-strStatusText>it failed</m-strStatusText>"
         "</SoapOAM:OAMCommandExecResult>"},
        {command("<in-cmd><m-strName>hold</m-strName></in-cmd>"), EOF_FAULT},
        {command(""), EOF_FAULT},
        {command("<in-cmd xsi:nil=\"true\"/>"), EOF_FAULT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strBody);
        EXPECT_EQ(bodyOf(roundTrip(m_nPort, soapPost(c.strBody))), c.strExpected);
    }
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "Accepted IP=127.0.0.1"));
    EXPECT_TRUE(capture.contains(DEBUG_LOG_LEVEL, "SoapOAM__executeCommand failure : null command"));
}

TEST_F(WsServerFixture, SettingsAndTheirDefaultsAreLogged)
{
    const std::string F = "OAMManagerWsJRunnable::run_i : ";
    const struct Case
    {
        std::map<std::string, ParameterValue> settings;
        std::vector<std::string> vLines; // "%P" stands for the port
    } cases[] = {
        {{},
         {F + "linkhaven.gw.ws.blockingTimeMs parameter was not set or set to an invalid value. Using the default of 1000",
          F + "linkhaven.gw.ws.blockingTimeMs set to 1000", "linkhaven.oam.webServicePort set to %P",
          F + "linkhaven.oam.webServiceIpAddress parameter was not set", "Socket bind successful on ip address , port %P"}},
        {{{"linkhaven.gw.ws.blockingTimeMs", ParameterValue(-1L)}, {"linkhaven.oam.webServicePort", ParameterValue(-1L)},
          {"linkhaven.oam.webServiceIpAddress", ParameterValue("127.0.0.1")}},
         {F + "linkhaven.gw.ws.blockingTimeMs parameter was not set or set to an invalid value. Using the default of 1000",
          F + "linkhaven.gw.ws.blockingTimeMs set to 1000",
          "linkhaven.oam.webServicePort parameter was not set or set to an invalid value. Using the default of 18081",
          "linkhaven.oam.webServicePort set to 18081", F + "linkhaven.oam.webServiceIpAddress set to 127.0.0.1",
          "Socket bind successful on ip address 127.0.0.1, port 18081"}},
        {{{"linkhaven.gw.ws.blockingTimeMs", ParameterValue(0L)}, {"linkhaven.oam.webServiceIpAddress", ParameterValue("")},
          {"linkhaven.oam.webServiceIoTimeoutMs", ParameterValue(5000L)}},
         {F + "linkhaven.gw.ws.blockingTimeMs set to 0", "linkhaven.oam.webServicePort set to %P",
          F + "linkhaven.oam.webServiceIpAddress set to ", F + "linkhaven.oam.webServiceIoTimeoutMs set to 5000",
          "Socket bind successful on ip address , port %P"}},
    };
    for (const Case& c : cases) {
        LogCapture capture("linkhaven.oam.ManagerWsJRunnable");
        EXPECT_EQ(startServer(c.settings), Task::RUNNING_STATE);
        EXPECT_EQ(stopServer(), 0u);
        std::vector<std::string> vExpected = c.vLines;
        for (std::string& strLine : vExpected)
            if (strLine.find("%P") != std::string::npos)
                strLine.replace(strLine.find("%P"), 2, std::to_string(m_nPort));
        std::vector<std::string> vLines = debugLines(capture);
        vLines.resize(std::min(vLines.size(), vExpected.size()));
        EXPECT_EQ(vLines, vExpected);
    }
}

TEST_F(WsServerFixture, ABindFailureEndsTheRunWithTheWholeErrorText)
{
    int nPort = 0;
    const int fd = listenOn(0, &nPort);
    for (const std::string& strAddress : {"127.0.0.1", ""}) {
        LogCapture capture("linkhaven.oam.ManagerWsJRunnable");
        EXPECT_EQ(startServer({{"linkhaven.oam.webServicePort", ParameterValue(static_cast<long>(nPort))},
                               {"linkhaven.oam.webServiceIpAddress", ParameterValue(strAddress)}}),
                  Task::STOPPED_STATE);
        EXPECT_EQ(stopServer(), 4294967295u);
        EXPECT_TRUE(capture.contains(ERROR_LOG_LEVEL,
                                     (strAddress.empty() ? "Cannot bind on port " : "Cannot bind on ip address 127.0.0.1 port ") +
                                         std::to_string(nPort) + " - Error Code: SOAP-ENV:Server String: Address already in use Detail: bind failed in soap_bind(). Ensure that parameter linkhaven.oam.webServiceIpAddress and parameter linkhaven.oam.webServicePort are properly set."))
            << ::testing::PrintToString(capture.messages());
    }
    ::close(fd);
}

TEST_F(WsServerFixture, TerminationEndsTheRunWhenIdleAndRightAfterTheRequestBeingServed)
{
    ASSERT_EQ(startServer({{"linkhaven.gw.ws.blockingTimeMs", ParameterValue(20L)}}), Task::RUNNING_STATE);
    m_pRunnable->terminate();
    ASSERT_EQ(m_result.wait_for(std::chrono::minutes(1)), std::future_status::ready);
    EXPECT_EQ(m_result.get(), 0u);

    // Without an accept time-out, only the flag read after the request can end the run.
    ASSERT_EQ(startServer({{"linkhaven.gw.ws.blockingTimeMs", ParameterValue(0L)}}), Task::RUNNING_STATE);
    std::future<std::string> answer = std::async(std::launch::async, [this] {
        return bodyOf(roundTrip(m_nPort, soapPost(command("<in-cmd><m-strName>hold</m-strName></in-cmd>"))));
    });
    m_held.wait();
    m_pRunnable->terminate();
    EXPECT_EQ(answer.get(), EOF_FAULT);
    ASSERT_EQ(m_result.wait_for(std::chrono::minutes(1)), std::future_status::ready);
    EXPECT_EQ(m_result.get(), 0u);
}

TEST(SoapOAMOperations, AContextWithoutItsRunnableRaisesTheAssertionAndFaults)
{
    AssertionCapture assertions;
    std::istringstream is(soapPost(OK_ME));
    std::ostringstream os;
    SoapContext context;
    context.get()->is = &is;
    context.get()->os = &os;
    serveSoapOAMRequest(context.get());
    EXPECT_EQ(assertions.conditions(), StringVector{"pWsJRunnable != 0"});
    EXPECT_EQ(bodyOf(os.str()), "<SOAP-ENV:Fault><faultcode>SOAP-ENV:Client</faultcode><faultstring>End or bad "
                                "std::istream: message transfer interrupted</faultstring></SOAP-ENV:Fault>");
}

TEST_F(WsServerFixture, ABadRequestIsFaultedOrDroppedAndTheNextOneServed)
{
    ASSERT_EQ(startServer(), Task::RUNNING_STATE);
    const std::string strOkMe = soapPost(OK_ME), strEnvelope = envelopeAround(OK_ME);
    const std::string EOF_500 = "HTTP/1.1 500 Internal Server Error End of file or no input: message transfer interrupted";
    auto okMeWith = [](const std::string& in_strName, const std::string& in_strMore = "") {
        return envelopeAround(command("<in-cmd><m-strName" + in_strName + "</m-strName>" + in_strMore + "</in-cmd>"));
    };
    auto inserted = [&](const std::string& in_strAt, const std::string& in_strText, std::string in_strEnvelope) {
        return httpPost(in_strEnvelope.insert(in_strEnvelope.find(in_strAt), in_strText));
    };
    std::string strDeep;
    for (int i = 0; i < 100000; ++i)
        strDeep.insert(strDeep.size() / 2, "<a></a>");
    const struct Case
    {
        const char* szName;
        std::string strRequest;
        bool bHalfClose;
        std::string strExpected;
    } cases[] = {
        {"malformed XML", httpPost(okMeWith(" a=\"1>ok-me")), false, EOF_500},
        {"foreign envelope", inserted("soap/envelope/", "x", strEnvelope), false, "HTTP/1.1 500 Internal Server Error Invalid SOAP message or SOAP version mismatch"},
        {"unknown operation", soapPost("<SoapOAM:reboot/>"), false,
         "HTTP/1.1 500 Internal Server Error Method 'SoapOAM:reboot' not implemented: method name or namespace not recognized"},
        {"mustUnderstand header", inserted("<SOAP-ENV:Body>", "<SOAP-ENV:Header><h SOAP-ENV:mustUnderstand=\"1\" xmlns=\"urn:x\"/></SOAP-ENV:Header>", strEnvelope), false,
         "HTTP/1.1 500 Internal Server Error The data in element 'h' must be understood but cannot be processed"},
        {"empty body", soapPost(""), false, "HTTP/1.1 500 Internal Server Error Method '' not implemented: method name or namespace not recognized"},
        {"truncated", strOkMe.substr(0, 200), true, ""},
        {"several megabytes", httpPost(okMeWith(">ok-me", "<m-argVector>" + std::string(4 << 20, 'x') + "</m-argVector>")), false, "HTTP/1.1 200 OK"},
        {"deep nesting", httpPost(okMeWith(">ok-me", strDeep)), false, EOF_500},
        {"entity expansion", inserted("<SOAP-ENV:Envelope", "<!DOCTYPE d [<!ENTITY a \"aaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>", okMeWith(">&b;")), false, "HTTP/1.1 200 OK"},
        {"HTTP GET", "GET / HTTP/1.1\r\nHost: localhost\r\n\r\n", false, "HTTP/1.1 405 Method Not Allowed HTTP GET method not implemented"},
        {"silent close", "", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        EXPECT_EQ(statusAndFault(roundTrip(m_nPort, c.strRequest, c.bHalfClose)), c.strExpected);
        EXPECT_EQ(bodyOf(roundTrip(m_nPort, strOkMe)), OK_RESULT);
    }
}

TEST_F(WsServerFixture, WithAnIoTimeOutASilentClientIsDroppedAndTheNextRequestServed)
{
    ASSERT_EQ(startServer({{"linkhaven.oam.webServiceIoTimeoutMs", ParameterValue(100L)}}), Task::RUNNING_STATE);
    const int fdSilent = connectTo(m_nPort); // ahead of the next client in the backlog
    EXPECT_EQ(bodyOf(roundTrip(m_nPort, soapPost(OK_ME))), OK_RESULT);
    EXPECT_EQ(roundTrip(m_nPort, "", false, fdSilent), "");
}
