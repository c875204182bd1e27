#include "oam/soap/BasicAuthGate.h"

#include <crypt.h>
#include <sys/stat.h>

#include <fstream>

#include <openssl/crypto.h>

#include <stdsoap2.h>

#include "host/core/Logger.h"
#include "oam/soap/AdminAudit.h"
#include "oam/soap/PeerAddress.h"
#include "oam/soap/SoapOAMOperations.h"

namespace {
bool takenHash(const std::string& in_strHash)
{
    for (const char* szPrefix : {"$2y$", "$2b$", "$y$"}) {
        if (in_strHash.rfind(szPrefix, 0) == 0)
            return true;
    }
    return false;
}

bool modificationTime(const std::string& in_strPath, struct timespec& out_modified)
{
    struct stat status = {};
    if (::stat(in_strPath.c_str(), &status) != 0)
        return false;
    out_modified = status.st_mtim;
    return true;
}

bool sameTime(const struct timespec& in_a, const struct timespec& in_b)
{
    return in_a.tv_sec == in_b.tv_sec && in_a.tv_nsec == in_b.tv_nsec;
}
} // namespace

bool BasicAuthGate::readUsers(const std::string& in_strPath, Users& out_users, std::string& out_strError)
{
    std::ifstream file(in_strPath);
    if (!file) {
        out_strError = "cannot read the users file " + in_strPath;
        return false;
    }
    std::string strLine;
    for (int nLine = 1; std::getline(file, strLine); ++nLine) {
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        if (strLine.empty() || strLine[0] == '#')
            continue;
        const std::string::size_type colon = strLine.find(':');
        const std::string strWhere = in_strPath + " line " + std::to_string(nLine);
        if (colon == 0 || colon == std::string::npos) {
            out_strError = strWhere + ": not a user:hash line";
            return false;
        }
        const std::string strUser = strLine.substr(0, colon);
        const std::string strHash = strLine.substr(colon + 1);
        if (!takenHash(strHash)) {
            out_strError = strWhere + ": the password of " + strUser +
                           " is not a bcrypt or yescrypt hash (make it with htpasswd -B)";
            return false;
        }
        out_users[strUser] = strHash;
    }
    if (out_users.empty()) {
        out_strError = "the users file " + in_strPath + " has no users";
        return false;
    }
    return true;
}

bool BasicAuthGate::load(const std::string& in_strPath, std::string& out_strError)
{
    auto pUsers = std::make_shared<Users>();
    struct timespec modified = {};
    if (!modificationTime(in_strPath, modified) || !readUsers(in_strPath, *pUsers, out_strError)) {
        if (out_strError.empty())
            out_strError = "cannot read the users file " + in_strPath;
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_strPath = in_strPath;
    m_pUsers = std::move(pUsers);
    m_modified = modified;
    return true;
}

std::shared_ptr<const BasicAuthGate::Users> BasicAuthGate::currentUsers()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    struct timespec modified = {};
    if (!modificationTime(m_strPath, modified) || sameTime(modified, m_modified))
        return m_pUsers;
    // Whatever comes of it, this version of the file is not read again.
    m_modified = modified;
    auto pUsers = std::make_shared<Users>();
    std::string strError;
    if (readUsers(m_strPath, *pUsers, strError)) {
        m_pUsers = std::move(pUsers);
        LH_INFO(SoapOAMOperations::operationsLogger(), "Users file " << m_strPath << " read again");
    } else {
        LH_ERROR(SoapOAMOperations::operationsLogger(), strError << "; the users read before stay");
    }
    return m_pUsers;
}

bool BasicAuthGate::admits(struct soap* io_pSoap)
{
    const std::string strUser = io_pSoap->userid ? io_pSoap->userid : "";
    if (verifies(strUser, io_pSoap->passwd ? io_pSoap->passwd : ""))
        return true;
    AdminAudit::authenticationFailed(io_pSoap->userid ? strUser : "-", peerAddress(io_pSoap));
    io_pSoap->authrealm = REALM;
    return false;
}

bool BasicAuthGate::verifies(const std::string& in_strUser, const std::string& in_strPassword)
{
    const std::shared_ptr<const Users> pUsers = currentUsers();
    const auto user = pUsers->find(in_strUser);
    if (user == pUsers->end())
        return false;
    // Large, and zeroed before its first use as crypt_r asks.
    const auto pData = std::make_unique<struct crypt_data>();
    const char* const szHash = ::crypt_r(in_strPassword.c_str(), user->second.c_str(), pData.get());
    const std::string& strStored = user->second;
    return szHash && szHash[0] != '*' && strStored.size() == std::char_traits<char>::length(szHash) &&
           CRYPTO_memcmp(szHash, strStored.data(), strStored.size()) == 0;
}
