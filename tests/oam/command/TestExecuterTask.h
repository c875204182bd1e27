#pragma once
// An executer task with a table of handlers, on a reactor thread of its own.

#include <map>
#include <string>

#include "host/thread/StaticReactorTaskImpl.h"
#include "oam/command/CmdExecSM.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"
#include "oam/command/TaskObjectPool.h"

class TestExecuterTask : public StaticReactorTaskImpl, public OAMCmdExecuterTaskImpl
{
  public:
    explicit TestExecuterTask(const char* in_szName) { setTaskName(in_szName); }
    ~TestExecuterTask() override { kill(); waitUntilDone(); }

    // Before start: the table is read on the task thread afterwards.
    void addHandler(const std::string& in_strName, CmdExecutionHandler* in_pHandler)
    {
        m_handlers[in_strName] = CmdExecutionHandlerPtr(in_pHandler);
    }

    void getSupportedCommands(StringVector& out_vCommands) const override
    {
        out_vCommands.clear();
        for (const auto& entry : m_handlers)
            out_vCommands.push_back(entry.first);
    }

    using OAMCmdExecuterTaskImpl::executeCommand;
    using OAMCmdExecuterTaskImpl::m_vChildOAMCmdExecuter;

    // Task thread only.
    TaskObjectPool<CmdExecSM>& cmdExecSMPoolForTest() { return *m_pCmdExecSMPool; }

    // Task thread: method objects that returned failure.
    int m_nMOFailures = 0;

  protected:
    void handleMOCallFailure() override { ++m_nMOFailures; }

    CmdExecutionHandlerPtr findCmdExecHandler_i(const OAMCommand& in_cmd) override
    {
        auto found = m_handlers.find(in_cmd.getName());
        return found == m_handlers.end() ? CmdExecutionHandlerPtr() : found->second;
    }

  private:
    std::map<std::string, CmdExecutionHandlerPtr> m_handlers;
};
