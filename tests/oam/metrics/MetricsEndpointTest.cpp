#include <atomic>
#include <cstdio>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "host/infra/AlarmRegistry.h"
#include "oam/metrics/MetricsEndpoint.h"
#include "oam/om/OMCatalogue.h"
#include "oam/om/OMObserver.h"
#include "oam/om/OMReporter.h"
#include "tests/oam/manager/StartedManager.h"
#include "tests/support/Loopback.h"

namespace {
// "<status> <body>" of one GET on loopback.
std::string httpGet(int in_nPort, const std::string& in_strPath)
{
    const std::string strResponse = roundTrip(in_nPort, "GET " + in_strPath + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n");
    const std::size_t uiBody = strResponse.find("\r\n\r\n");
    return strResponse.substr(9, 3) + " " + (uiBody == std::string::npos ? "" : strResponse.substr(uiBody + 4));
}

// The lines of a text that start with one of the prefixes, in order.
std::string linesStartingWith(const std::string& in_strText, const std::vector<std::string>& in_vPrefixes)
{
    std::istringstream lines(in_strText);
    std::string strSelected;
    for (std::string strLine; std::getline(lines, strLine);)
        for (const std::string& strPrefix : in_vPrefixes)
            if (strLine.rfind(strPrefix, 0) == 0)
                strSelected += strLine + "\n";
    return strSelected;
}

// Answers on the caller's thread, from a fixed table; an OM without a value fails.
struct FixedOMReporter : OMReporter, OMCatalogue
{
    bool getOM(const char* in_szOMName, OMObserver* in_pObserver) override
    {
        const std::unique_ptr<OMObserver> pObserver(in_pObserver);
        const auto found = m_values.find(in_szOMName);
        return found == m_values.end() ? pObserver->getOMFailure(in_szOMName) : pObserver->getOMSuccess(in_szOMName, found->second);
    }
    void describeOMs(std::vector<OMDescription>& io_vOMs) const override
    {
        for (const char* szName : {"t.count", "t.missing"})
            io_vOMs.push_back({szName, OMDescription::NUMERIC, ""});
        for (const char* szName : {"t.line", "t.lines", "t.long"})
            io_vOMs.push_back({szName, OMDescription::TEXT, ""});
    }
    std::map<std::string, ParameterValue> m_values{
        {"t.count", ParameterValue(7L)}, {"t.line", ParameterValue("say \"hi\"")}, {"t.lines", ParameterValue("a\nb")}, {"t.long", ParameterValue(std::string(129, 'x'))}};
};

class MetricsEndpointTest : public StartedManagerTest
{
  protected:
    void beforeStart(OAMManager& io_manager) override
    {
        io_manager.addOMReporter(OAMManager::OMReporterPtr(new FixedOMReporter()));
        m_pEndpoint = std::make_unique<MetricsEndpoint>(io_manager, [this] { return m_bWebServiceBound.load(); });
        std::string strError;
        ASSERT_TRUE(m_pEndpoint->start({"127.0.0.1", 0}, strError)) << strError;
    }
    std::atomic<bool> m_bWebServiceBound{false};
    std::unique_ptr<MetricsEndpoint> m_pEndpoint;
};
} // namespace

TEST_F(MetricsEndpointTest, ReadinessFollowsTheManagerAndTheWebServiceWhileHealthStaysUp)
{
    const struct { std::function<void()> step; std::string strReady; const char* szUp; } rows[] = {
        {[] {}, "503 the OAM web service is not bound\n", "linkhaven_oam_up 1\n"},
        {[this] { m_bWebServiceBound = true; }, "200 ready\n", "linkhaven_oam_up 1\n"},
        {[this] { m_pManager->stop(), m_pManager->waitUntilDone(); }, "503 the OAM manager is not running\n",
         "linkhaven_oam_up 0\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.strReady);
        row.step();
        EXPECT_EQ(httpGet(m_pEndpoint->getPort(), "/readyz"), row.strReady);
        EXPECT_EQ(httpGet(m_pEndpoint->getPort(), "/healthz"), "200 ok\n");
        EXPECT_EQ(linesStartingWith(httpGet(m_pEndpoint->getPort(), "/metrics"), {"linkhaven_oam_up"}), row.szUp);
    }
}

TEST_F(MetricsEndpointTest, AScrapeShowsTheCatalogueTheAlarmTableAndTheTrafficAsPromtoolAccepts)
{
    const std::shared_ptr<Alarm> pAlarm = AlarmRegistry::getInstance().defineAlarm("t.alarm", "test alarm");
    AlarmRegistry::getInstance().setAlarmState(*pAlarm, Alarm::RAISED_STATE);
    for (const char* szCommand : {"get-alarms", "no-such-command", "another-unknown", "get-om t.count"})
        execute(szCommand);
    const std::string strScrape = httpGet(m_pEndpoint->getPort(), "/metrics");
    AlarmRegistry::getInstance().removeAlarm(*pAlarm);

    EXPECT_EQ(linesStartingWith(strScrape, {"linkhaven_om_value", "linkhaven_om_info{om=\"t", "linkhaven_alarm_active{alarm=\"t",
                                            "linkhaven_oam_commands_total", "linkhaven_oam_om_reads_total"}),
              "linkhaven_om_value{om=\"t.count\"} 7\n"
              "linkhaven_om_info{om=\"t.line\",value=\"say \\\"hi\\\"\"} 1\n"
              "linkhaven_alarm_active{alarm=\"t.alarm\"} 1\n"
              "linkhaven_oam_commands_total{command=\"get-alarms\",result=\"success\"} 1\n"
              "linkhaven_oam_commands_total{command=\"get-alarms\",result=\"failure\"} 0\n"
              "linkhaven_oam_commands_total{command=\"get-om\",result=\"success\"} 1\n"
              "linkhaven_oam_commands_total{command=\"get-om\",result=\"failure\"} 0\n"
              "linkhaven_oam_commands_total{command=\"other\",result=\"success\"} 0\n"
              "linkhaven_oam_commands_total{command=\"other\",result=\"failure\"} 2\n"
              "linkhaven_oam_om_reads_total{result=\"success\"} 1\n"
              "linkhaven_oam_om_reads_total{result=\"failure\"} 0\n");
    EXPECT_NE(strScrape.find("linkhaven_alarm_raised_timestamp_seconds{alarm=\"t.alarm\"}"), std::string::npos);
#ifdef LINKHAVEN_PROMTOOL
    const std::string strBody = strScrape.substr(4);
    FILE* const pPromtool = popen(LINKHAVEN_PROMTOOL " check metrics 2>&1", "w");
    ASSERT_NE(pPromtool, nullptr);
    std::fwrite(strBody.data(), 1, strBody.size(), pPromtool);
    EXPECT_EQ(pclose(pPromtool), 0);
#else
    GTEST_SKIP() << "promtool is not installed";
#endif
}
