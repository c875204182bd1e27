#include "oam/metrics/ListOMsCmdExecuter.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "host/thread/ThreadChecker.h"
#include "oam/manager/OAMManager.h"
#include "oam/manager/OAMSnapshot.h"

namespace {
// Inside the web service's 250 ms for the whole command.
const ACE_Time_Value SNAPSHOT_TIMEOUT(0, 200000);

std::string jsonString(const std::string& in_strText)
{
    std::string strJson = "\"";
    for (const char c : in_strText) {
        if (c == '"' || c == '\\') {
            strJson += '\\';
            strJson += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char szEscape[8];
            std::snprintf(szEscape, sizeof szEscape, "\\u%04x", c);
            strJson += szEscape;
        } else {
            strJson += c;
        }
    }
    return strJson + '"';
}

std::string jsonValue(const OAMSnapshot::OM& in_om)
{
    if (!in_om.value.valid())
        return "null";
    double dValue = 0;
    if (in_om.description.kind == OMDescription::NUMERIC && in_om.value.value().getFloating(dValue))
        return in_om.value.value().getText();
    return jsonString(in_om.value.value().getText());
}

std::string listAsJson(const OAMSnapshot& in_snapshot)
{
    std::ostringstream text;
    text << "{\"oms\":[";
    for (std::size_t ui = 0; ui < in_snapshot.vOMs.size(); ++ui) {
        const OAMSnapshot::OM& om = in_snapshot.vOMs[ui];
        text << (ui ? "," : "") << "{\"name\":" << jsonString(om.description.strName) << ",\"kind\":\""
             << (om.description.kind == OMDescription::NUMERIC ? "numeric" : "text")
             << "\",\"help\":" << jsonString(om.description.strHelp) << ",\"value\":" << jsonValue(om) << '}';
    }
    text << "]}";
    return text.str();
}

// A value of several lines goes on indented lines of its own.
std::string listAsText(const OAMSnapshot& in_snapshot)
{
    std::ostringstream text;
    for (const OAMSnapshot::OM& om : in_snapshot.vOMs) {
        text << om.description.strName << " = ";
        if (!om.value.valid()) {
            text << "(unavailable)\n";
            continue;
        }
        const std::string& strValue = om.value.value().getText();
        if (strValue.find('\n') == std::string::npos) {
            text << strValue << '\n';
            continue;
        }
        std::istringstream lines(strValue);
        for (std::string strLine; std::getline(lines, strLine);)
            text << "\n  " << strLine;
        text << '\n';
    }
    return text.str();
}
} // namespace

// The executer's thread only.
class ListOMsCmdExecuter::ListOMsHandler : public OAMCmdExecuterTaskImpl::CmdExecutionHandler
{
  public:
    explicit ListOMsHandler(OAMManager& io_manager) : m_manager(io_manager) {}

    bool executeCommand(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult& io_result) override
    {
        OAMSnapshot snapshot;
        if (!m_manager.takeSnapshot(snapshot, SNAPSHOT_TIMEOUT)) {
            io_result.m_strStatusText = "The OAM manager did not answer in time";
            return false;
        }
        io_result.m_strStatusText = in_cmd.getNumArg() == 1 ? listAsJson(snapshot) : listAsText(snapshot);
        return true;
    }
    std::ostream& printUsage(std::ostream& io_os) const override { return io_os << LIST_OMS << " [--json]"; }
    bool checkUsage(const OAMCommand& in_cmd, SoapOAM__OAMCommandExecResult&) const override
    {
        return in_cmd.getNumArg() == 0 || (in_cmd.getNumArg() == 1 && std::strcmp(in_cmd.getArg(0), "--json") == 0);
    }

  private:
    OAMManager& m_manager;
};

ListOMsCmdExecuter::ListOMsCmdExecuter(OAMManager& io_manager) : m_pHandler(new ListOMsHandler(io_manager))
{
    setTaskName("ListOMsCmdExecuter");
}

ListOMsCmdExecuter::~ListOMsCmdExecuter() { endThreadForDestruction(); }

void ListOMsCmdExecuter::getSupportedCommands(StringVector& out_vCommands) const
{
    out_vCommands.assign(1, LIST_OMS);
}

ListOMsCmdExecuter::CmdExecutionHandlerPtr ListOMsCmdExecuter::findCmdExecHandler_i(const OAMCommand& in_cmd)
{
    LH_CHECK_TASK_THREAD();
    return std::strcmp(in_cmd.getName(), LIST_OMS) == 0 ? m_pHandler : CmdExecutionHandlerPtr();
}
