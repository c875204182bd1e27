#pragma once
// The host's one component, a task of its own: it executes the command "greet NAME" and reports
// the OM "linkhaven.om.minimalHost.greetings", how many greetings it has given. Both run on its
// thread, which alone touches the count.
//
// Host thread before start: construction. Any thread: executeCommand, getOM.

#include "host/thread/StaticReactorTaskImpl.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"
#include "oam/om/OMReporterTaskImpl.h"

class GreeterComponent : public StaticReactorTaskImpl, public OAMCmdExecuterTaskImpl, public OMReporterTaskImpl
{
  public:
    static constexpr const char* GREET_COMMAND = "greet";
    static constexpr const char* GREETINGS_OM = "linkhaven.om.minimalHost.greetings";

    GreeterComponent();
    ~GreeterComponent() override;

    void getSupportedCommands(StringVector& out_vCommands) const override;
    bool getOM(const char* in_szOMName, OMObserver* in_pObserver) override;

  protected:
    CmdExecutionHandlerPtr findCmdExecHandler_i(const OAMCommand& in_cmd) override;

  private:
    class GreetHandler;
    class GreetingsHandler;

    long m_lGreetings = 0;
    CmdExecutionHandlerPtr m_pGreetHandler;
};
