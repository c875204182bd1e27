#pragma once
// A started manager with a child executer of the test's, and the web-service runnable on a
// thread of its own, listening on a free loopback port; everything stopped in TearDown. The child
// answers "ok-me" with success, "fail-me" with failure, keeps "hold" unanswered, supports nothing else.

#include <future>
#include <map>
#include <memory>
#include <atomic>
#include <string>

#include <gtest/gtest.h>

#include "host/core/ParameterValue.h"
#include "oam/soap/OAMManagerWsJRunnable.h"

class WsServerFixture : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the server with these settings (and a free port unless one is given) and gives the
    // first state it reported: RUNNING_STATE once bound, STOPPED_STATE when run_i gave up.
    Task::State startServer(std::map<std::string, ParameterValue> in_settings = {});
    // Terminates, wakes an accept that waits without limit, and gives run's result.
    std::uint32_t stopServer();
    std::string endpoint() const { return "http://127.0.0.1:" + std::to_string(m_nPort); }

    int m_nPort = 0;
    std::unique_ptr<OAMManagerWsJRunnable> m_pRunnable;
    std::future<std::uint32_t> m_result;
    std::future<void> m_held; // ready once the child got "hold"

  private:
    class Child;
    struct FirstState : JRunnable::RunningObserver
    {
        void newTaskState(JRunnable&, Task::State in_state) override
        {
            if (!m_bTold.exchange(true))
                m_state.set_value(in_state);
        }
        std::atomic<bool> m_bTold{false};
        std::promise<Task::State> m_state;
    };

    OAMManagerWsJRunnable::OAMManagerPtr m_pManager;
    Child* m_pChild = nullptr; // the manager's
    std::unique_ptr<FirstState> m_pFirstState; // of the last run
    Task::State m_startState = Task::STOPPED_STATE;
};

// Listens on a loopback port (0: any free one); gives the socket, or -1.
int listenOn(int in_nPort, int* out_pPort = nullptr);
// A socket connected to the loopback port.
int connectTo(int in_nPort);
// Sends the bytes on a connection (a new one by default), closes the sending side when asked, and
// gives what came back until the peer closed.
std::string roundTrip(int in_nPort, const std::string& in_strRequest, bool in_bHalfClose = false, int in_fd = -1);
std::string envelopeAround(const std::string& in_strBody);
std::string httpPost(const std::string& in_strContent);
inline std::string soapPost(const std::string& in_strBody) { return httpPost(envelopeAround(in_strBody)); }
// The content of the answer's SOAP body, or the whole answer when it has none.
std::string bodyOf(const std::string& in_strAnswer);
