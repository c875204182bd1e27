#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "host/core/LinkhavenException.h"
#include "host/infra/ParameterInfoDB.h"
#include "host/infra/RWConfiguration.h"
#include "host/infra/RWGlobalConfig.h"

namespace {
std::string textOf(const OutputStreamable& in_object)
{
    std::ostringstream stream;
    stream << in_object;
    return stream.str();
}

std::string writtenFile(const std::string& in_strContent)
{
    char szPath[] = "/tmp/linkhaven-config-XXXXXX";
    const int fd = mkstemp(szPath);
    EXPECT_NE(fd, -1);
    close(fd);
    std::ofstream(szPath) << in_strContent;
    return szPath;
}

class DefinedConfigurationTest : public ::testing::Test
{
  protected:
    DefinedConfigurationTest()
    {
        m_db.defineParameter("gw.port", ParameterValue::INTEGER_TYPE, nullptr, false, false, false, "port");
        m_db.defineParameter("gw.threshold", ParameterValue::FLOATING_TYPE, "90.0", false, false, false, "set");
        m_db.defineParameter("gw.address", ParameterValue::STRING_TYPE, nullptr, false, false, false, "address");
        m_db.defineParameter("gw.channels", ParameterValue::INTEGER_TYPE, "30", true, false, false, "channels");
        m_db.defineParameter("gw.password", ParameterValue::STRING_TYPE, "secret", false, false, true, "password");
    }

    ParameterInfoDB m_db;
    RWConfiguration m_config{&m_db};
};
} // namespace

TEST(Configuration, WithoutDefinitionsHoldsExactlyWhatWasSet)
{
    RWConfiguration config;
    ParameterValue value("left over");
    EXPECT_FALSE(config.hasParameter("gw.port"));
    EXPECT_FALSE(config.getValue("gw.port", value));
    EXPECT_EQ(value.getType(), ParameterValue::NO_VALUE_TYPE);

    EXPECT_TRUE(config.setValue("gw.port", ParameterValue(18081L)));
    EXPECT_TRUE(config.setValue("gw.name", ParameterValue(std::string("edge-1"))));
    EXPECT_FALSE(config.setValue("gw.empty", ParameterValue()));
    EXPECT_FALSE(config.setValue("", ParameterValue(1L)));

    int nPort = 0;
    std::string strPort;
    EXPECT_TRUE(config.getInt("gw.port", nPort));
    EXPECT_EQ(nPort, 18081);
    EXPECT_TRUE(config.getString("gw.port", strPort));
    EXPECT_EQ(strPort, "18081");
    int nName = -1;
    EXPECT_FALSE(config.getInt("gw.name", nName));
    EXPECT_EQ(nName, -1);
    EXPECT_TRUE(config.setValue("gw.big", ParameterValue(1L << 40)));
    EXPECT_FALSE(config.getInt("gw.big", nName));
    EXPECT_EQ(textOf(config), "gw.big=1099511627776\ngw.name=edge-1\ngw.port=18081");
}

TEST_F(DefinedConfigurationTest, DefinedParametersExistWithoutValueAndGiveTheirDefaults)
{
    ParameterValue value;
    EXPECT_TRUE(m_config.hasParameter("gw.port"));
    EXPECT_FALSE(m_config.getValue("gw.port", value));
    EXPECT_EQ(value.getType(), ParameterValue::NO_VALUE_TYPE);
    ASSERT_TRUE(m_config.getValue("gw.threshold", value));
    EXPECT_EQ(value, ParameterValue(90.0));
    EXPECT_EQ(textOf(m_config), "gw.address=\ngw.channels=30\ngw.password=******\ngw.port=\ngw.threshold=90.0");
}

TEST_F(DefinedConfigurationTest, ValuesAreConvertedToTheParametersTypeOrRefused)
{
    ParameterValue value;
    ASSERT_TRUE(value.initFromText("18082", ParameterValue::NO_VALUE_TYPE, true));
    EXPECT_TRUE(m_config.setValue("gw.address", value));
    ASSERT_TRUE(m_config.getValue("gw.address", value));
    EXPECT_EQ(value, ParameterValue(std::string("18082")));

    EXPECT_TRUE(m_config.setValue("gw.threshold", ParameterValue(80L)));
    ASSERT_TRUE(m_config.getValue("gw.threshold", value));
    EXPECT_EQ(value, ParameterValue(80.0));

    EXPECT_FALSE(m_config.setValue("gw.port", ParameterValue(std::string("http"))));
    EXPECT_FALSE(m_config.setValue("gw.port", ParameterValue(2.5)));
    EXPECT_FALSE(m_config.getValue("gw.port", value));
    EXPECT_TRUE(m_config.setValue("gw.port", ParameterValue(std::string("18081"))));
    ASSERT_TRUE(m_config.getValue("gw.port", value));
    EXPECT_EQ(value, ParameterValue(18081L));
}

TEST_F(DefinedConfigurationTest, ReadOnlyParametersAreSetAtStartUpOnly)
{
    const char* argv[] = {"gateway", "--set", "gw.channels=60"};
    std::string strError;
    ASSERT_TRUE(m_config.loadFromArguments(3, argv, strError)) << strError;
    EXPECT_FALSE(m_config.setValue("gw.channels", ParameterValue(90L)));
    int nChannels = 0;
    EXPECT_TRUE(m_config.getInt("gw.channels", nChannels));
    EXPECT_EQ(nChannels, 60);
}

TEST_F(DefinedConfigurationTest, LoadsFilesAndSettingsInCommandLineOrder)
{
    const std::string strFile = writtenFile("# the lab gateway\n"
                                            "\n"
                                            "  gw.port = 5060 \n"
                                            "gw.address=10.0.0.1\n"
                                            "gw.label = a b = c\n");
    const char* argv[] = {"gateway", "-v", "--set", "gw.port=5070", "--config", strFile.c_str(), "--set",
                          "gw.threshold=75"};
    std::string strError;
    ASSERT_TRUE(m_config.loadFromArguments(8, argv, strError)) << strError;
    EXPECT_EQ(textOf(m_config), "gw.address=10.0.0.1\ngw.channels=30\ngw.label=a b = c\ngw.password=******\n"
                                "gw.port=5060\ngw.threshold=75.0");
    std::remove(strFile.c_str());
}

TEST_F(DefinedConfigurationTest, ReportsTheFirstFaultyLineOrArgument)
{
    std::string strError;
    const std::string strFile = writtenFile("gw.port=5060\ngw.port=fast\ngw.address=never read\n");
    EXPECT_FALSE(m_config.loadFromFile(strFile, strError));
    EXPECT_EQ(strError, strFile + ":2: invalid value fast for parameter gw.port");
    // What came before the faulty line was taken, what came after it was not.
    ParameterValue address;
    EXPECT_FALSE(m_config.getValue("gw.address", address));
    int nPort = 0;
    EXPECT_TRUE(m_config.getInt("gw.port", nPort));
    EXPECT_EQ(nPort, 5060);
    std::remove(strFile.c_str());

    EXPECT_FALSE(m_config.loadFromFile("/nonexistent/gw.conf", strError));
    EXPECT_EQ(strError, "cannot read configuration file /nonexistent/gw.conf");
    const char* noValue[] = {"gateway", "--set"};
    EXPECT_FALSE(m_config.loadFromArguments(2, noValue, strError));
    EXPECT_EQ(strError, "--set needs an argument");
    const char* noEqual[] = {"gateway", "--set", "gw.port"};
    EXPECT_FALSE(m_config.loadFromArguments(3, noEqual, strError));
    EXPECT_EQ(strError, "expected <name>=<value>, got gw.port");
}

TEST(Configuration, AStartUpWithoutAMandatoryParameterIsRefused)
{
    ParameterInfoDB db;
    db.defineParameter("gw.licence", ParameterValue::STRING_TYPE, nullptr, false, true, false, "licence key");
    RWConfiguration config(&db);
    const char* argv[] = {"gateway"};
    std::string strError;
    EXPECT_FALSE(config.loadFromArguments(1, argv, strError));
    EXPECT_EQ(strError, "mandatory parameter gw.licence is not set");
    const char* withLicence[] = {"gateway", "--set", "gw.licence=ABC"};
    EXPECT_TRUE(config.loadFromArguments(3, withLicence, strError)) << strError;
}

TEST(ParameterInfoDB, RefusesBadDefinitionsAndAcceptsTheSameOneTwice)
{
    ParameterInfoDB db;
    db.defineParameter("gw.period", ParameterValue::INTEGER_TYPE, "500", false, false, false, "period");
    EXPECT_NO_THROW(db.defineParameter("gw.period", ParameterValue::INTEGER_TYPE, "500", false, false, false, "period"));
    EXPECT_THROW(db.defineParameter("gw.period", ParameterValue::INTEGER_TYPE, "600", false, false, false, "period"),
                 LinkhavenException);
    EXPECT_THROW(db.defineParameter("gw.rate", ParameterValue::INTEGER_TYPE, "fast", false, false, false, ""),
                 LinkhavenException);
    EXPECT_THROW(db.defineParameter("gw.flag", static_cast<ParameterValue::Type>(3), nullptr, false, false, false, ""),
                 LinkhavenException);
    try {
        db.defineParameter("", ParameterValue::STRING_TYPE, nullptr, false, false, false, "");
        FAIL();
    } catch (const LinkhavenException& e) {
        EXPECT_EQ(textOf(e), "cannot define a parameter without a name");
    }
    ParameterInfo info;
    ASSERT_TRUE(db.getParameterInfo("gw.period", info));
    EXPECT_EQ(info.defaultValue, ParameterValue(500L));
    EXPECT_EQ(db.getParameterNames(), StringVector{"gw.period"});
}

TEST(GlobalConfig, BothHandlesReachOneConfigurationThatKnowsTheHostsParameters)
{
    EXPECT_EQ(static_cast<ROConfiguration*>(GlobalConfig::getInstance().get()),
              static_cast<ROConfiguration*>(RWGlobalConfig::getInstance().get()));
    std::string strMode;
    ASSERT_TRUE(GlobalConfig::getInstance()->getString("linkhaven.run.mode", strMode));
    EXPECT_EQ(parseRunModeString(strMode), PRODUCTION_RUN_MODE);
    int nTimeout = 0;
    EXPECT_TRUE(GlobalConfig::getInstance()->getInt("linkhaven.startTimeoutSec", nTimeout));
    EXPECT_EQ(nTimeout, 30);
}

TEST(GlobalConfig, ReadsAndWritesFromManyThreadsSeeWholeValuesInOrder)
{
    const TSHandle<RWGlobalConfig> writer = RWGlobalConfig::getInstance();
    const TSHandle<ROConfiguration> reader = GlobalConfig::getInstance();
    ASSERT_TRUE(writer->setValue("test.counter", ParameterValue(0L)));
    constexpr long LAST = 2000;
    std::atomic<bool> bReaderFailed{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t) {
        threads.emplace_back([&reader, &bReaderFailed] {
            long lSeen = 0;
            while (lSeen < LAST) {
                ParameterValue value;
                long lValue = -1;
                if (!reader->getValue("test.counter", value) || !value.getInteger(lValue) || lValue < lSeen)
                    bReaderFailed = true;
                lSeen = std::max(lSeen, lValue);
                if (bReaderFailed)
                    return;
            }
        });
    }
    threads.emplace_back([&writer] {
        for (long l = 1; l <= LAST; ++l)
            writer->setValue("test.counter", ParameterValue(l));
    });
    threads.emplace_back([&writer] {
        for (long l = 0; l < 100; ++l)
            writer->setValue("test.other." + std::to_string(l), ParameterValue(l));
    });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_FALSE(bReaderFailed);
    int nOther = 0;
    EXPECT_TRUE(reader->getInt("test.other.99", nOther));
    EXPECT_EQ(nOther, 99);
}
