#include "tests/oam/soap/WsServerFixture.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

#include "host/infra/RWConfiguration.h"
#include "oam/command/OAMCmdExecObserver.h"
#include "oam/manager/OAMManager.h"

class WsServerFixture::Child : public OAMCmdExecuter
{
  public:
    bool executeCommand(const OAMCommand& in_cmd, OAMCmdExecObserver* in_pObserver) override
    {
        std::unique_ptr<OAMCmdExecObserver> pObserver(in_pObserver);
        const std::string strName = in_cmd.getName();
        if (strName == "hold") {
            m_pHeld = std::move(pObserver);
            m_held.set_value();
            return true;
        }
        SoapOAM__OAMCommandExecResult result;
        result.m_bExecSuccess = strName == "ok-me";
        result.m_strStatusText = result.m_bExecSuccess ? "done <ok>" : "it failed";
        return strName == "ok-me" || strName == "fail-me" ? pObserver->executeCommandSuccess(result)
                                                          : pObserver->executeCommandFailure({});
    }
    std::promise<void> m_held;
    std::unique_ptr<OAMCmdExecObserver> m_pHeld; // manager thread only
};

void WsServerFixture::SetUp()
{
    auto hManagerConfig = TSHandle<RWConfiguration>::make();
    hManagerConfig->setValue("linkhaven.system.cpu.monitor.monitoringPeriodInMs", ParameterValue(0L));
    m_pManager = OAMManagerWsJRunnable::OAMManagerPtr(new OAMManager());
    m_pManager->initialize(hManagerConfig);
    m_pManager->setTaskName("OAMManager");
    m_pManager->addCmdExecuter(OAMManager::ChildExecuterPtr(m_pChild = new Child()));
    m_held = m_pChild->m_held.get_future();
    ASSERT_TRUE(m_pManager->start());
    ASSERT_TRUE(m_pManager->waitForStart(ACE_Time_Value(60)));
}

void WsServerFixture::TearDown()
{
    if (m_result.valid())
        stopServer();
    m_pRunnable.reset();
    m_pManager->stop();
    m_pManager->waitUntilDone();
}

Task::State WsServerFixture::startServer(std::map<std::string, ParameterValue> in_settings)
{
    ::close(listenOn(0, &m_nPort));
    long lPort = m_nPort;
    in_settings.emplace("linkhaven.oam.webServicePort", ParameterValue(lPort));
    if (in_settings["linkhaven.oam.webServicePort"].getInteger(lPort))
        m_nPort = static_cast<int>(lPort);
    auto hConfig = TSHandle<RWConfiguration>::make();
    for (const auto& setting : in_settings)
        hConfig->setValue(setting.first, setting.second);
    m_pRunnable = std::make_unique<OAMManagerWsJRunnable>();
    m_pRunnable->configure(hConfig);
    m_pRunnable->setOAMManager(m_pManager);
    m_pFirstState = std::make_unique<FirstState>();
    m_pRunnable->setRunningObserver(m_pFirstState.get());
    m_result = std::async(std::launch::async, [this] { return m_pRunnable->run(); });
    return m_startState = m_pFirstState->m_state.get_future().get();
}

std::uint32_t WsServerFixture::stopServer()
{
    m_pRunnable->terminate();
    if (m_startState == Task::RUNNING_STATE && m_result.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        roundTrip(m_nPort, "", true);
    return m_result.get();
}

namespace {
sockaddr_in loopback(int in_nPort)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(in_nPort));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}
} // namespace

int listenOn(int in_nPort, int* out_pPort)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(in_nPort);
    socklen_t uiSize = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), uiSize) != 0 || ::listen(fd, 1) != 0) {
        ::close(fd);
        return -1;
    }
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &uiSize);
    if (out_pPort)
        *out_pPort = ntohs(address.sin_port);
    return fd;
}

int connectTo(int in_nPort)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(in_nPort);
    ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return fd;
}

std::string roundTrip(int in_nPort, const std::string& in_strRequest, bool in_bHalfClose, int in_fd)
{
    const int fd = in_fd < 0 ? connectTo(in_nPort) : in_fd;
    ::send(fd, in_strRequest.data(), in_strRequest.size(), MSG_NOSIGNAL);
    if (in_bHalfClose)
        ::shutdown(fd, SHUT_WR);
    std::string strAnswer;
    std::vector<char> buffer(65536);
    ssize_t n;
    while ((n = ::recv(fd, buffer.data(), buffer.size(), 0)) > 0)
        strAnswer.append(buffer.data(), static_cast<size_t>(n));
    ::close(fd);
    return strAnswer;
}

std::string envelopeAround(const std::string& in_strBody)
{
    return "<?xml version=\"1.0\"?><SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:SoapOAM=\"urn:SoapOAM\"><SOAP-ENV:Body>" +
           in_strBody + "</SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

std::string httpPost(const std::string& in_strContent)
{
    return "POST / HTTP/1.1\r\nHost: localhost\r\nContent-Type: text/xml\r\nContent-Length: " +
           std::to_string(in_strContent.size()) + "\r\n\r\n" + in_strContent;
}

std::string bodyOf(const std::string& in_strAnswer)
{
    const size_t uiStart = in_strAnswer.find('>', in_strAnswer.find("<SOAP-ENV:Body"));
    const size_t uiEnd = in_strAnswer.find("</SOAP-ENV:Body>");
    return uiStart == std::string::npos || uiEnd == std::string::npos ? in_strAnswer
                                                                      : in_strAnswer.substr(uiStart + 1, uiEnd - uiStart - 1);
}
