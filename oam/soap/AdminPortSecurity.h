#pragma once
// What secures the admin port, as the configuration asks: TLS with its files, HTTP Basic
// authentication against a users file, and the users who may only read. With none of its
// parameters set, the port is plain HTTP without authentication, as it always was.

#include <set>
#include <string>

#include "oam/soap/TlsServer.h"

class ROConfiguration;

struct AdminPortSecurity
{
    static constexpr const char* CERTIFICATE_FILE_KEY = "linkhaven.oam.tls.certificateFile";
    static constexpr const char* KEY_FILE_KEY = "linkhaven.oam.tls.keyFile";
    static constexpr const char* CLIENT_CA_FILE_KEY = "linkhaven.oam.tls.clientCaFile";
    static constexpr const char* USERS_FILE_KEY = "linkhaven.oam.auth.usersFile";
    static constexpr const char* ALLOW_PLAINTEXT_KEY = "linkhaven.oam.auth.allowPlaintext";
    static constexpr const char* READ_ONLY_USERS_KEY = "linkhaven.oam.auth.readOnlyUsers";

    // False with a one-line reason for settings that do not go together: a certificate without
    // its key or the reverse, a client CA without TLS, users sent in clear without leave to, a
    // flag that is neither true nor false.
    static bool read(const ROConfiguration& in_config, AdminPortSecurity& out_security, std::string& out_strError);

    TlsServerFiles tls;
    std::string strUsersFile; // empty: no authentication
    std::set<std::string> readOnlyUsers;
};
