#pragma once
// The command line of linkhaven-oamctl: options first, then the command and its arguments (every
// word after the command name is an argument), or --om NAME, or --channel-status.

#include <string>
#include <vector>

#include "oam/soap/OAMClientSecurity.h"

struct OamCtlOptions
{
    enum Request
    {
        RUN_COMMAND,
        READ_OM,
        READ_CHANNEL_STATUS,
        SHOW_HELP,
        SHOW_VERSION
    };

    static constexpr const char* DEFAULT_ENDPOINT = "http://127.0.0.1:18081";
    static constexpr const char* ENDPOINT_VARIABLE = "LINKHAVEN_OAM_ENDPOINT";
    static constexpr const char* PASSWORD_VARIABLE = "LINKHAVEN_OAM_PASSWORD";
    static const char* const USAGE;

    // False with a one-line reason for a bad command line. The endpoint is --endpoint, else the
    // environment's endpoint when not empty (may be null), else the default.
    bool parse(int in_nArgc, const char* const* in_pArgv, const char* in_szEnvEndpoint, std::string& out_strError);
    // With --user: the password from --password-file (its first line), else from the environment's
    // password (may be null); false with a one-line reason when there is none.
    bool readPassword(const char* in_szEnvPassword, std::string& out_strError);

    Request request = RUN_COMMAND;
    std::string strEndpoint;
    // Short enough that a dead or stuck gateway never holds the tool for long.
    int nConnectTimeoutMs = 2000;
    int nRecvTimeoutMs = 5000;
    int nSendTimeoutMs = 5000;
    bool bJson = false;
    // The password is never on the command line: it comes from a file or the environment.
    OAMClientSecurity security;
    std::string strPasswordFile;
    // The command's or the OM's name.
    std::string strName;
    std::vector<std::string> vArgs;
};
