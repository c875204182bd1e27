#pragma once
// HTTP Basic authentication of the admin port against a file of "user:hash" lines as `htpasswd -B`
// writes them: bcrypt ("$2y$", "$2b$") or yescrypt ("$y$") hashes, checked with the system's
// crypt. The file is read at load and again when its modification time changes; a changed file
// that no longer reads is logged once, and the users read last stay.
//
// Host or running thread: load. Any serving thread: admits and verifies.

#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "oam/soap/SoapOAMServe.h"

class BasicAuthGate : public RequestGate
{
  public:
    static constexpr const char* REALM = "linkhaven-oam";

    // False with a one-line reason when the file cannot be read, has no users, or holds a line
    // that is not "user:hash" with a hash of the kinds above.
    bool load(const std::string& in_strPath, std::string& out_strError);
    // The request's Basic credentials verified; a failure is audited with the user and the peer.
    bool admits(struct soap* io_pSoap) override;
    // True when the user is in the file and the password is theirs.
    bool verifies(const std::string& in_strUser, const std::string& in_strPassword);

  private:
    using Users = std::unordered_map<std::string, std::string>;

    static bool readUsers(const std::string& in_strPath, Users& out_users, std::string& out_strError);
    // The users as the file has them now.
    std::shared_ptr<const Users> currentUsers();

    std::string m_strPath;
    std::mutex m_mutex;
    std::shared_ptr<const Users> m_pUsers;
    struct timespec m_modified = {};
};
