#pragma once
// A reactor task that records its hooks, in order, on its own thread. Read m_vEvents through
// runOnTaskThread while it runs, or directly once waitUntilDone has returned.

#include <string>
#include <vector>

#include "host/thread/StaticReactorTaskImpl.h"

class TestReactorTask : public StaticReactorTaskImpl
{
  public:
    explicit TestReactorTask(const char* in_szName = "test-task", bool in_bDeferStop = false)
        : m_bDeferStop(in_bDeferStop)
    {
        setTaskName(in_szName);
    }
    ~TestReactorTask() override
    {
        kill();
        waitUntilDone();
    }

    using StaticReactorTaskImpl::stopCompleted;

    std::vector<std::string> m_vEvents;

  protected:
    void onSvcEntry() override
    {
        m_vEvents.push_back("svc-entry");
        StaticReactorTaskImpl::onSvcEntry();
    }
    void handleMOCallFailure() override { m_vEvents.push_back("failure"); }
    void handleMOCallStop() override
    {
        m_vEvents.push_back("stop");
        if (!m_bDeferStop)
            stopCompleted();
    }
    void handleMOCallKill() override { m_vEvents.push_back("kill"); }
    int close(unsigned long in_ulFlags) override
    {
        m_vEvents.push_back("close");
        return StaticReactorTaskImpl::close(in_ulFlags);
    }

  private:
    const bool m_bDeferStop;
};
