#include "oam/soap/AdminPortSecurity.h"

#include <sstream>

#include "host/infra/ROConfiguration.h"

namespace {
// Names are separated by commas, blanks or both.
std::set<std::string> nameList(const std::string& in_strText)
{
    std::string strText = in_strText;
    for (char& c : strText) {
        if (c == ',')
            c = ' ';
    }
    std::set<std::string> names;
    std::istringstream words(strText);
    for (std::string strName; words >> strName;)
        names.insert(strName);
    return names;
}
} // namespace

bool AdminPortSecurity::read(const ROConfiguration& in_config, AdminPortSecurity& out_security, std::string& out_strError)
{
    AdminPortSecurity security;
    in_config.getString(CERTIFICATE_FILE_KEY, security.tls.strCertificateFile);
    in_config.getString(KEY_FILE_KEY, security.tls.strKeyFile);
    in_config.getString(CLIENT_CA_FILE_KEY, security.tls.strClientCaFile);
    in_config.getString(USERS_FILE_KEY, security.strUsersFile);
    std::string strAllowPlaintext;
    if (!in_config.getString(ALLOW_PLAINTEXT_KEY, strAllowPlaintext) || strAllowPlaintext.empty())
        strAllowPlaintext = "false";
    std::string strReadOnlyUsers;
    in_config.getString(READ_ONLY_USERS_KEY, strReadOnlyUsers);
    security.readOnlyUsers = nameList(strReadOnlyUsers);

    if (security.tls.strCertificateFile.empty() != security.tls.strKeyFile.empty())
        out_strError = std::string(CERTIFICATE_FILE_KEY) + " and " + KEY_FILE_KEY + " go together: set both or neither";
    else if (!security.tls.strClientCaFile.empty() && !security.tls.enabled())
        out_strError = std::string(CLIENT_CA_FILE_KEY) + " needs TLS: set " + CERTIFICATE_FILE_KEY + " and " + KEY_FILE_KEY;
    else if (strAllowPlaintext != "true" && strAllowPlaintext != "false")
        out_strError = std::string(ALLOW_PLAINTEXT_KEY) + " is true or false, not " + strAllowPlaintext;
    else if (!security.strUsersFile.empty() && !security.tls.enabled() && strAllowPlaintext != "true")
        out_strError = std::string(USERS_FILE_KEY) + " without TLS would send passwords in clear: set " +
                       CERTIFICATE_FILE_KEY + " and " + KEY_FILE_KEY + ", or " + ALLOW_PLAINTEXT_KEY + "=true";
    if (!out_strError.empty())
        return false;
    out_security = std::move(security);
    return true;
}
