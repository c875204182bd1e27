#include <sstream>

#include <gtest/gtest.h>

#include "host/core/SingletonRegistry.h"
#include "host/infra/ParameterInfoDB.h"
#include "oam/params/ParamDefs.h"

// Name, type, default ("-" for none), the three flags and [description].
std::string describe(const ParameterInfoDB& in_database, const std::string& in_strName)
{
    ParameterInfo info;
    std::ostringstream text;
    if (in_database.getParameterInfo(in_strName, info))
        text << in_strName << ' ' << info.type << ' ' << (info.defaultValue.hasValue() ? info.defaultValue.getText() : "-")
             << ' ' << info.bReadOnly << info.bMandatory << info.bSecret << " [" << info.strDescription << ']';
    return text.str();
}

TEST(ParamDefs, LoadingTheModuleDefinedItsParameters)
{
    const std::string rows[] = {
        "linkhaven.gw.ws.blockingTimeMs 2 1000 000 [Attribute of the gSOAP run-time environment specifies the timeout value for a non-blocking soap_accept call.]",
        "linkhaven.oam.webServicePort 2 - 000 [Web services port]",
        "linkhaven.oam.webServiceIpAddress 1 - 000 [Web services IP address]",
        "linkhaven.oam.app.pythonRunnableClassName 1 - 000 [The name of a Python class that implements a thread that will be run by the application. The Python class must implement the terminate() and run_i() methods]",
        "linkhaven.system.cpu.monitor.monitoringPeriodInMs 2 500 000 [The monitoring period in ms of the system CPU resource usage.  Set this value to 0 to disable the CPU usage monitor.]",
        "linkhaven.system.cpu.monitor.setAlarmThreshold 5 90.0 000 [The CPU monitor generates an alarm when the average % of CPU usage is equal or greater to this value]",
        "linkhaven.system.cpu.monitor.resetAlarmThreshold 5 80.0 000 [The CPU monitor clear the alarm when the average % of CPU usage goes below this value]",
        "linkhaven.system.cpu.monitor.averageWindowSize 2 15 000 [ The number of observation required to compute the average % of CPU usage.]",
        "linkhaven.oam.metricsPort 2 - 000 [Port of the metrics, health and readiness endpoint (Prometheus text format); absent or 0: none]",
        "linkhaven.oam.metricsIpAddress 1 127.0.0.1 000 [IP address of the metrics endpoint; 0.0.0.0 serves other hosts too]"};
    for (const std::string& strRow : rows)
        EXPECT_EQ(strRow, describe(ParameterInfoDB::getInstance(), strRow.substr(0, strRow.find(' '))));
    EXPECT_NE(nullptr, SingletonRegistry::getInstance().find("ParamDefs::Singleton"));
}
