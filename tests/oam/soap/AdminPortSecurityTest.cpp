// The admin port's security settings and its users file, as an operator writes them.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include "host/infra/RWConfiguration.h"
#include "oam/soap/AdminPortSecurity.h"
#include "oam/soap/BasicAuthGate.h"

namespace {
// "secret" hashed by htpasswd -B and by yescrypt; "$6$" is SHA-512, which is refused.
const std::string BCRYPT = "$2y$04$J25iBISGbDSu9p26MzF5G.ImixbYBC/5Fhe4IHrY2l6alb63xSyG2";
const std::string YESCRYPT = "$y$j9T$F5Jx5fExrKuPp53xLKQ..1$GmcwIgvdUC9qLWcKCi6gklUa1dM3ziD43YxYNURLKy0";
const std::string SHA512 = "$6$saltsalt$TVLlQcbpFVof5W3Yz4DTP6gRstiNuHwwTt6GLc1E5n0U0aDehy0S5knV8wiOQSpT0Y77vwPZN.Pq.H91p5hVO1";

TEST(AdminPortSecurity, SettingsThatDoNotGoTogetherAreRefusedWithTheReason)
{
    struct Case
    {
        std::map<std::string, std::string> settings;
        std::string error; // empty: accepted
    };
    const Case cases[] = {
        {{}, ""},
        {{{"linkhaven.oam.tls.certificateFile", "c.pem"}, {"linkhaven.oam.tls.keyFile", "k.pem"}, {"linkhaven.oam.auth.usersFile", "u"}}, ""},
        {{{"linkhaven.oam.auth.usersFile", "u"}, {"linkhaven.oam.auth.allowPlaintext", "true"}}, ""},
        {{{"linkhaven.oam.tls.certificateFile", "c.pem"}},
         "linkhaven.oam.tls.certificateFile and linkhaven.oam.tls.keyFile go together: set both or neither"},
        {{{"linkhaven.oam.tls.clientCaFile", "ca.pem"}},
         "linkhaven.oam.tls.clientCaFile needs TLS: set linkhaven.oam.tls.certificateFile and linkhaven.oam.tls.keyFile"},
        {{{"linkhaven.oam.auth.usersFile", "u"}},
         "linkhaven.oam.auth.usersFile without TLS would send passwords in clear: set linkhaven.oam.tls.certificateFile "
         "and linkhaven.oam.tls.keyFile, or linkhaven.oam.auth.allowPlaintext=true"},
        {{{"linkhaven.oam.auth.allowPlaintext", "yes"}}, "linkhaven.oam.auth.allowPlaintext is true or false, not yes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        RWConfiguration config;
        for (const auto& setting : c.settings)
            config.setValue(setting.first, ParameterValue(setting.second.c_str()));
        AdminPortSecurity security;
        std::string strError;
        EXPECT_EQ(AdminPortSecurity::read(config, security, strError), c.error.empty());
        EXPECT_EQ(strError, c.error);
    }
    RWConfiguration config;
    config.setValue("linkhaven.oam.auth.readOnlyUsers", ParameterValue("ann, bob,carl"));
    AdminPortSecurity security;
    std::string strError;
    ASSERT_TRUE(AdminPortSecurity::read(config, security, strError));
    EXPECT_EQ(security.readOnlyUsers, (std::set<std::string>{"ann", "bob", "carl"}));
}

TEST(BasicAuthGate, TakesBcryptAndYescryptUsersOnlyAndReadsTheFileAgainWhenItChanges)
{
    const std::string strPath = ::testing::TempDir() + "users-" + std::to_string(::getpid());
    const auto write = [&strPath](const std::string& in_strText) { std::ofstream(strPath) << in_strText; };
    struct Case
    {
        std::string text;
        std::string error; // empty: loaded
    };
    const Case cases[] = {
        {"# operators\nann:" + BCRYPT + "\n\nbob:" + YESCRYPT + "\r\n", ""},
        {"ann:" + SHA512 + "\n", strPath + " line 1: the password of ann is not a bcrypt or yescrypt hash (make it with htpasswd -B)"},
        {"ann:" + BCRYPT + "\nbob\n", strPath + " line 2: not a user:hash line"},
        {"# nobody\n", "the users file " + strPath + " has no users"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        write(c.text);
        BasicAuthGate gate;
        std::string strError;
        EXPECT_EQ(gate.load(strPath, strError), c.error.empty());
        EXPECT_EQ(strError, c.error);
    }

    write("ann:" + BCRYPT + "\nbob:" + YESCRYPT + "\n");
    BasicAuthGate gate;
    std::string strError;
    ASSERT_TRUE(gate.load(strPath, strError));
    EXPECT_TRUE(gate.verifies("ann", "secret"));
    EXPECT_TRUE(gate.verifies("bob", "secret"));
    EXPECT_FALSE(gate.verifies("ann", "Secret"));
    EXPECT_FALSE(gate.verifies("carl", "secret"));
    // Edits, each with a later modification time: bob goes, and a broken file keeps who was read.
    const auto edit = [&write, &strPath](const std::string& in_strText, std::time_t in_secondsLater) {
        write(in_strText);
        const struct timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) + in_secondsLater, 0}};
        ::utimensat(AT_FDCWD, strPath.c_str(), times, 0);
    };
    edit("carl:" + BCRYPT + "\n", 10);
    EXPECT_TRUE(gate.verifies("carl", "secret"));
    EXPECT_FALSE(gate.verifies("bob", "secret"));
    edit("carl\n", 20);
    EXPECT_TRUE(gate.verifies("carl", "secret"));
    ::unlink(strPath.c_str());
}
} // namespace
