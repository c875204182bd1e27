#include "GreeterComponent.h"

#include <cstring>
#include <string>

#include "oam/om/GetOM_MO.h"

class GreeterComponent::GreetHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    explicit GreetHandler(long& io_lGreetings) : m_lGreetings(io_lGreetings) {}

    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override
    {
        ++m_lGreetings;
        io_result.m_strStatusText = std::string("Hello, ") + in_cmd.getArg(0) + "!";
        return true;
    }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << "greet name"; }
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult&) const override
    {
        return in_cmd.getNumArg() == 1;
    }

  private:
    long& m_lGreetings;
};

class GreeterComponent::GreetingsHandler : public OMReporterTaskImpl::OMHandler
{
  public:
    explicit GreetingsHandler(const long& in_lGreetings) : m_lGreetings(in_lGreetings) {}

    bool getOMValue(const char*, ParameterValue& out_value) override
    {
        out_value = ParameterValue(m_lGreetings);
        return true;
    }

  private:
    const long& m_lGreetings;
};

GreeterComponent::GreeterComponent() : m_pGreetHandler(new GreetHandler(m_lGreetings))
{
    setTaskName("GreeterComponent");
    m_OMHash[GREETINGS_OM] = OMHandlerPtr(new GreetingsHandler(m_lGreetings));
}

GreeterComponent::~GreeterComponent() { endThreadForDestruction(); }

void GreeterComponent::getSupportedCommands(StringVector& out_vCommands) const
{
    out_vCommands.assign(1, GREET_COMMAND);
}

bool GreeterComponent::getOM(const char* in_szOMName, OMObserver* in_pObserver)
{
    return enqueue(new GetOM_MO(*this, in_szOMName, in_pObserver), "GreeterComponent::getOM");
}

GreeterComponent::CmdExecutionHandlerPtr GreeterComponent::findCmdExecHandler_i(const OAMCommand& in_cmd)
{
    return std::strcmp(in_cmd.getName(), GREET_COMMAND) == 0 ? m_pGreetHandler : CmdExecutionHandlerPtr();
}
