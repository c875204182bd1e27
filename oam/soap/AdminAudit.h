#pragma once
// The audit trail of the admin port on the logger "linkhaven.oam.audit", at info level: one line
// for each command that can change state, after it ran or was refused, and one for each failed
// authentication. Any thread.
//
//   user=alice peer=10.0.0.7 command="set-log-level linkhaven DEBUG" outcome=success
//   user=bob peer=10.0.0.7 authentication=failed

#include <string>

class OAMCommand;

namespace AdminAudit {
enum class Outcome { SUCCESS, FAILURE, REFUSED };

// The user is "-" when the port does not authenticate.
void commandRan(const std::string& in_strUser, const std::string& in_strPeer, const OAMCommand& in_cmd, Outcome in_outcome);
// Never with the password.
void authenticationFailed(const std::string& in_strUser, const std::string& in_strPeer);
} // namespace AdminAudit
