#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "host/infra/ParameterInfoDB.h"
#include "host/infra/RWConfiguration.h"
#include "host/infra/RWGlobalConfig.h"

namespace {
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
        m_db.defineParameter("gw.licence", ParameterValue::STRING_TYPE, nullptr, false, true, false, "licence");
        std::ofstream(m_strFile) << "# the lab gateway\n\n  gw.port = 5060 \ngw.label = a b = c\ngw.port=fast\n"
                                 "gw.address=never read\n";
    }
    ~DefinedConfigurationTest() override { std::remove(m_strFile.c_str()); }

    ParameterInfoDB m_db;
    RWConfiguration m_config{&m_db};
    const std::string m_strFile = ::testing::TempDir() + "linkhaven-config-" + std::to_string(getpid());
};
} // namespace

TEST_F(DefinedConfigurationTest, ValuesAreConvertedToTheParametersTypeOrRefusedAndDefaultsStandIn)
{
    EXPECT_EQ(::testing::PrintToString(m_config), "gw.address=\ngw.channels=30\ngw.licence=\ngw.password=******\ngw.port=\n"
                                "gw.threshold=90.0");
    struct Case { const char* szName; ParameterValue given; bool bSet; ParameterValue read; }; // read: none when without value
    const Case cases[] = {
        {"gw.address", ParameterValue(18082L), true, ParameterValue(std::string("18082"))},
        {"gw.threshold", ParameterValue(80L), true, ParameterValue(80.0)},
        {"gw.port", ParameterValue(2.5), false, ParameterValue()},
        {"gw.port", ParameterValue(std::string("18081")), true, ParameterValue(18081L)},
        {"gw.channels", ParameterValue(90L), false, ParameterValue(30L)}, // read-only at run time
        {"gw.name", ParameterValue(std::string("edge-1")), true, ParameterValue(std::string("edge-1"))}, // undefined
        {"gw.big", ParameterValue(1L << 40), true, ParameterValue(1L << 40)},
        {"gw.empty", ParameterValue(), false, ParameterValue()},
        {"", ParameterValue(1L), false, ParameterValue()},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(std::string(row.szName) + "=" + row.given.getText());
        EXPECT_EQ(m_config.setValue(row.szName, row.given), row.bSet);
        ParameterValue value("left over");
        EXPECT_EQ(m_config.getValue(row.szName, value), row.read.hasValue());
        EXPECT_EQ(value, row.read);
    }
    int nValue = -1;
    EXPECT_FALSE(m_config.getInt("gw.name", nValue) || m_config.getInt("gw.big", nValue) || m_config.hasParameter("gw.x"));
    EXPECT_EQ(nValue, -1);
    EXPECT_EQ(::testing::PrintToString(m_config), "gw.address=18082\ngw.big=1099511627776\ngw.channels=30\ngw.licence=\ngw.name=edge-1\n"
                                "gw.password=******\ngw.port=18081\ngw.threshold=80.0");
}

TEST_F(DefinedConfigurationTest, StartUpLoadsFilesAndSettingsInOrderAndStopsAtTheFirstFault)
{
    const std::string strFaulty = m_strFile + ":5: invalid value fast for parameter gw.port";
    struct Case { std::vector<const char*> args; std::string strError, strText; }; // strError empty: loaded
    const Case cases[] = {
        {{"-v"}, "mandatory parameter gw.licence is not set", ""},
        {{"--set", "gw.licence=ABC", "-v", "--set", "gw.port=5070", "--set", "gw.channels=60", "--set", "gw.threshold=75"}, "",
         "gw.address=\ngw.channels=60\ngw.licence=ABC\ngw.password=******\ngw.port=5070\ngw.threshold=75.0"},
        // What came before the faulty line was taken, what came after it was not.
        {{"--set", "gw.address=10.0.0.1", "--config", m_strFile.c_str(), "--set", "gw.channels=90"}, strFaulty,
         "gw.address=10.0.0.1\ngw.channels=60\ngw.label=a b = c\ngw.licence=ABC\ngw.password=******\ngw.port=5060\ngw.threshold=75.0"},
        {{"--config", "/nonexistent/gw.conf"}, "cannot read configuration file /nonexistent/gw.conf", ""},
        {{"--set"}, "--set needs an argument", ""},
        {{"--set", "gw.port"}, "expected <name>=<value>, got gw.port", ""},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.strError);
        std::vector<const char*> argv{"gateway"};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        std::string strError;
        EXPECT_EQ(m_config.loadFromArguments(static_cast<int>(argv.size()), argv.data(), strError), row.strError.empty());
        EXPECT_EQ(strError, row.strError);
        EXPECT_EQ(row.strText.empty() ? "" : ::testing::PrintToString(m_config), row.strText);
    }
}

// Both handles reach the one configuration: the administration commands write through one and read through the other.
TEST(GlobalConfig, ReadersSeeWholeValuesInOrderWhileOthersAreWritten)
{
    const TSHandle<RWGlobalConfig> writer = RWGlobalConfig::getInstance();
    const TSHandle<ROConfiguration> reader = GlobalConfig::getInstance();
    ASSERT_TRUE(writer->setValue("test.counter", ParameterValue(0L)));
    constexpr long LAST = 2000;
    std::thread counting([&writer] {
        for (long l = 1; l <= LAST; ++l)
            writer->setValue("test.counter", ParameterValue(l));
    });
    std::thread adding([&writer] {
        for (long l = 0; l < 100; ++l)
            writer->setValue("test.other." + std::to_string(l), ParameterValue(l));
    });
    bool bInOrder = true;
    for (long lSeen = 0, lValue = 0; bInOrder && lSeen < LAST; lSeen = lValue) {
        ParameterValue value;
        bInOrder = reader->getValue("test.counter", value) && value.getInteger(lValue) && lValue >= lSeen;
    }
    counting.join();
    adding.join();
    EXPECT_TRUE(bInOrder);
    int nOther = 0;
    EXPECT_TRUE(reader->getInt("test.other.99", nOther) && nOther == 99);
}
