#pragma once
// The command "list-oms [--json]": every OM of the manager's catalogue with its current value, one
// "name = value" line each, or with --json one object {"oms":[{"name","kind","help","value"}...]}.
// A child executer of the manager with a thread of its own, since the values come through the
// manager's snapshot, which the manager's own thread cannot wait for. The host registers it (with
// addCmdExecuter, and starts and stops it with its other components) to offer the command.
//
// Host thread before start: construction. Any thread: executeCommand. The handler runs on its
// thread. The manager must outlive it.

#include "host/thread/StaticReactorTaskImpl.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"
#include "oam/command/ReadOnlyCommands.h"

class OAMManager;

class ListOMsCmdExecuter : public StaticReactorTaskImpl, public OAMCmdExecuterTaskImpl, public ReadOnlyCommands
{
  public:
    static constexpr const char* LIST_OMS = "list-oms";

    explicit ListOMsCmdExecuter(OAMManager& io_manager);
    ~ListOMsCmdExecuter() override;

    void getSupportedCommands(StringVector& out_vCommands) const override;
    // "list-oms" only reads.
    void listReadOnlyCommands(std::vector<std::string>& io_vNames) const override { io_vNames.push_back(LIST_OMS); }

  protected:
    CmdExecutionHandlerPtr findCmdExecHandler_i(const OAMCommand& in_cmd) override;

  private:
    class ListOMsHandler;

    CmdExecutionHandlerPtr m_pHandler;
};
