#pragma once
// A child executer that keeps the observers it is given, so that a test answers through them when
// it chooses, from its own thread, as a child task would from its thread.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "oam/command/OAMCmdExecObserver.h"
#include "oam/command/OAMCmdExecuter.h"

class ScriptedChildExecuter : public OAMCmdExecuter
{
  public:
    explicit ScriptedChildExecuter(bool in_bAccept = true) : m_bAccept(in_bAccept) {}

    bool executeCommand(const OAMCommand& in_cmd, OAMCmdExecObserver* in_pObserver) override
    {
        std::unique_ptr<OAMCmdExecObserver> pObserver(in_pObserver);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_vCommands.push_back(in_cmd.getName());
        if (m_bAccept)
            m_vpObservers.push_back(std::move(pObserver));
        m_received.notify_all();
        return m_bAccept;
    }

    // False only when fewer had come after a minute: a hang turned into a failure.
    bool waitForCommands(std::size_t in_uiCount) const
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_received.wait_for(lock, std::chrono::minutes(1), [&] { return m_vCommands.size() >= in_uiCount; });
    }

    std::vector<std::string> commands() const { std::lock_guard<std::mutex> lock(m_mutex); return m_vCommands; }

    // Each answers the oldest command not yet answered; the observer is then dropped, as a child does.
    bool answerSuccess(bool in_bSuccess, const std::string& in_strText)
    {
        SoapOAM__OAMCommandExecResult result;
        result.m_bExecSuccess = in_bSuccess;
        result.m_strStatusText = in_strText;
        return takeOldest()->executeCommandSuccess(result);
    }
    void answerNotSupported(const StringVector& in_vSupported) { takeOldest()->executeCommandFailure(in_vSupported); }

  private:
    std::unique_ptr<OAMCmdExecObserver> takeOldest()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::unique_ptr<OAMCmdExecObserver> pObserver = std::move(m_vpObservers.front());
        m_vpObservers.erase(m_vpObservers.begin());
        return pObserver;
    }

    const bool m_bAccept;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_received;
    std::vector<std::string> m_vCommands;
    std::vector<std::unique_ptr<OAMCmdExecObserver>> m_vpObservers;
};
