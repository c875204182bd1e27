#include "oam/soap/AdminAudit.h"

#include <sstream>

#include "host/core/AceCleanupLogger.h"
#include "oam/command/OAMCommand.h"

namespace {
const Logger& auditLogger()
{
    static const Logger& s_logger = AceCleanupLogger::get("linkhaven.oam.audit");
    return s_logger;
}

// One line whatever the text holds: quotes, backslashes and line ends are escaped.
std::string quoted(const std::string& in_strText)
{
    std::string strQuoted = "\"";
    for (const char c : in_strText) {
        if (c == '"' || c == '\\')
            strQuoted += '\\';
        if (c == '\n')
            strQuoted += "\\n";
        else if (c == '\r')
            strQuoted += "\\r";
        else
            strQuoted += c;
    }
    return strQuoted + '"';
}

// A user name comes from the client: it may hold anything.
std::string userName(const std::string& in_strUser)
{
    const bool bPlain = !in_strUser.empty() && in_strUser.find_first_of(" \"\\\r\n") == std::string::npos;
    return bPlain ? in_strUser : quoted(in_strUser);
}

const char* outcomeText(AdminAudit::Outcome in_outcome)
{
    switch (in_outcome) {
    case AdminAudit::Outcome::SUCCESS:
        return "success";
    case AdminAudit::Outcome::FAILURE:
        return "failure";
    case AdminAudit::Outcome::REFUSED:
        break;
    }
    return "refused";
}
} // namespace

void AdminAudit::commandRan(const std::string& in_strUser, const std::string& in_strPeer, const OAMCommand& in_cmd,
                            Outcome in_outcome)
{
    std::ostringstream command;
    command << in_cmd;
    LH_INFO(auditLogger(), "user=" << userName(in_strUser) << " peer=" << in_strPeer << " command="
                                   << quoted(command.str()) << " outcome=" << outcomeText(in_outcome));
}

void AdminAudit::authenticationFailed(const std::string& in_strUser, const std::string& in_strPeer)
{
    LH_INFO(auditLogger(), "user=" << userName(in_strUser) << " peer=" << in_strPeer << " authentication=failed");
}
