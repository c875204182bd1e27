#include "apps/oamctl/OamCtlOptions.h"

#include <cstdlib>
#include <fstream>
#include <map>

const char* const OamCtlOptions::USAGE =
    R"(usage: linkhaven-oamctl [OPTION]... COMMAND [ARG]...
       linkhaven-oamctl [OPTION]... --om NAME
       linkhaven-oamctl [OPTION]... --channel-status

Runs one administration command on a linkhaven gateway and prints its status text, or reads one
OM, or reads the PSTN channel status. A command the gateway does not know, "help" for one, is
answered with the list of the commands it supports.

  --endpoint URL           the gateway's OAM web service (default: $LINKHAVEN_OAM_ENDPOINT,
                           else http://127.0.0.1:18081)
  --connect-timeout-ms N   time-out of the connection (default 2000; 0: none)
  --recv-timeout-ms N      time-out of each receive (default 5000; 0: none)
  --send-timeout-ms N      time-out of each send (default 5000; 0: none)
  --user NAME              send HTTP Basic credentials of NAME; the password comes from
                           --password-file, else $LINKHAVEN_OAM_PASSWORD
  --password-file FILE     read the password from the first line of FILE
  --cacert FILE            trust the CA certificates of FILE for an https endpoint
                           (default: the system's)
  --insecure               do not verify the gateway's certificate (a warning says so)
  --json                   print one JSON object: {"success":..,"text":..} for a command,
                           {"success":..,"value":..} for an OM or the channel status,
                           {"success":false,"error":..} when no answer came
  --help                   print this text
  --version                print the version

Exit status: 0 the command succeeded, 1 the gateway answered that it failed, 2 no answer came
(refused, timed out, a fault, authentication failed) or a bad command line; the reason is then
one line on stderr.
)";

namespace {
bool parseTimeout(const std::string& in_strOption, const std::string& in_strText, int& out_nMs,
                  std::string& out_strError)
{
    char* szEnd = nullptr;
    const long lMs = std::strtol(in_strText.c_str(), &szEnd, 10);
    if (in_strText.empty() || *szEnd != '\0' || lMs < 0 || lMs > 3600000) {
        out_strError = "invalid time-out " + in_strText + " for " + in_strOption + ": milliseconds from 0 to 3600000";
        return false;
    }
    out_nMs = static_cast<int>(lMs);
    return true;
}
} // namespace

bool OamCtlOptions::parse(int in_nArgc, const char* const* in_pArgv, const char* in_szEnvEndpoint,
                          std::string& out_strError)
{
    const std::map<std::string, int*> timeouts = {{"--connect-timeout-ms", &nConnectTimeoutMs},
                                                  {"--recv-timeout-ms", &nRecvTimeoutMs},
                                                  {"--send-timeout-ms", &nSendTimeoutMs}};
    strEndpoint = in_szEnvEndpoint && *in_szEnvEndpoint ? in_szEnvEndpoint : DEFAULT_ENDPOINT;
    bool bRequestGiven = false;
    int i = 1;
    for (; i < in_nArgc && in_pArgv[i][0] == '-'; ++i) {
        const std::string strOption = in_pArgv[i];
        if (strOption == "--help" || strOption == "--version") {
            request = strOption == "--help" ? SHOW_HELP : SHOW_VERSION;
            return true;
        }
        if (strOption == "--json" || strOption == "--insecure") {
            (strOption == "--json" ? bJson : security.bInsecure) = true;
            continue;
        }
        if (strOption == "--channel-status") {
            if (bRequestGiven) {
                out_strError = "--om and --channel-status exclude each other";
                return false;
            }
            request = READ_CHANNEL_STATUS;
            bRequestGiven = true;
            continue;
        }
        const std::map<std::string, std::string*> texts = {{"--endpoint", &strEndpoint},
                                                           {"--user", &security.strUser},
                                                           {"--password-file", &strPasswordFile},
                                                           {"--cacert", &security.strCaFile}};
        const auto timeout = timeouts.find(strOption);
        const auto text = texts.find(strOption);
        if (strOption != "--om" && timeout == timeouts.end() && text == texts.end()) {
            out_strError = "unknown option " + strOption;
            return false;
        }
        if (i + 1 == in_nArgc) {
            out_strError = strOption + " needs an argument";
            return false;
        }
        const std::string strArgument = in_pArgv[++i];
        if (timeout != timeouts.end()) {
            if (!parseTimeout(strOption, strArgument, *timeout->second, out_strError))
                return false;
        } else if (text != texts.end()) {
            *text->second = strArgument;
        } else if (bRequestGiven) {
            out_strError = "--om and --channel-status exclude each other";
            return false;
        } else {
            request = READ_OM;
            strName = strArgument;
            bRequestGiven = true;
        }
    }
    if (i < in_nArgc) {
        if (bRequestGiven) {
            out_strError = std::string("a command cannot follow --om or --channel-status: ") + in_pArgv[i];
            return false;
        }
        strName = in_pArgv[i];
        vArgs.assign(in_pArgv + i + 1, in_pArgv + in_nArgc);
        return true;
    }
    if (!bRequestGiven) {
        out_strError = "no command given";
        return false;
    }
    return true;
}

bool OamCtlOptions::readPassword(const char* in_szEnvPassword, std::string& out_strError)
{
    if (security.strUser.empty())
        return true;
    if (strPasswordFile.empty()) {
        if (!in_szEnvPassword) {
            out_strError = "--user " + security.strUser + " needs a password: --password-file FILE or $" +
                           PASSWORD_VARIABLE;
            return false;
        }
        security.strPassword = in_szEnvPassword;
        return true;
    }
    std::ifstream file(strPasswordFile);
    if (!file || !std::getline(file, security.strPassword)) {
        out_strError = "cannot read a password from " + strPasswordFile;
        return false;
    }
    if (!security.strPassword.empty() && security.strPassword.back() == '\r')
        security.strPassword.pop_back();
    return true;
}
