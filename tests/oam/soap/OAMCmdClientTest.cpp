#include <sys/socket.h>
#include <unistd.h>

#include "oam/soap/OAMCmdClient.h"
#include "tests/oam/soap/WsServerFixture.h"
#include "tests/support/LogCapture.h"

namespace {
// Answers one request with another operation's response, and gives the request.
std::string answerWithAnotherResponse(int in_fdListen)
{
    const int fd = ::accept(in_fdListen, nullptr, nullptr);
    std::string strRequest;
    char buffer[4096];
    ssize_t n;
    while (strRequest.find("</SOAP-ENV:Envelope>") == std::string::npos && (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
        strRequest.append(buffer, static_cast<size_t>(n));
    const std::string strEnvelope = envelopeAround("<SoapOAM:getOMResponse><out-strOM>1</out-strOM></SoapOAM:getOMResponse>");
    const std::string strAnswer = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(strEnvelope.size()) + "\r\n\r\n" + strEnvelope;
    ::send(fd, strAnswer.data(), strAnswer.size(), MSG_NOSIGNAL);
    ::close(fd);
    return strRequest;
}
} // namespace

TEST_F(WsServerFixture, TheCommandClientGivesTheOutcomeAndKeepsTheTextWhenTheCallFails)
{
    ASSERT_EQ(startServer(), Task::RUNNING_STATE);
    int nClosedPort = 0, nFakePort = 0;
    ::close(listenOn(0, &nClosedPort));
    const int fdFake = listenOn(0, &nFakePort);
    std::future<std::string> request = std::async(std::launch::async, answerWithAnotherResponse, fdFake);
    const struct Case
    {
        const char* szCmd;
        std::string strEndpoint;
        bool bResult;
        std::string strText;
    } cases[] = {
        {"ok-me", endpoint(), true, "done <ok>"},
        {"fail-me", endpoint(), false, "it failed"},
        {"hold", endpoint(), false, "untouched"},
        {"ok-me", "http://127.0.0.1:" + std::to_string(nClosedPort), false, "untouched"},
        {"ok-me", "http://127.0.0.1:" + std::to_string(nFakePort), false, "untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strEndpoint + " " + c.szCmd);
        LogCapture capture("linkhaven.oam.CmdClient");
        std::string strText = "untouched";
        EXPECT_EQ(OAMCmdClient::executeCommand(c.szCmd, {}, c.strEndpoint, strText, 5000, 60000, 5000), c.bResult);
        EXPECT_EQ(strText, c.strText);
        const bool bCallFailed = c.strText == "untouched";
        EXPECT_EQ(capture.contains(ERROR_LOG_LEVEL, "SoapOAM__executeCommand failed"), bCallFailed);
    }
    EXPECT_NE(request.get().find("<in-cmd><m-strName>ok-me</m-strName></in-cmd>"), std::string::npos);
    ::close(fdFake);
}

TEST_F(WsServerFixture, AClientOfAnotherToolkitIsServedFromTheWsdl)
{
    ASSERT_EQ(startServer(), Task::RUNNING_STATE);
    EXPECT_EQ(std::system((std::string(ZEEP_CLIENT_COMMAND) + " " + endpoint()).c_str()), 0);
}
