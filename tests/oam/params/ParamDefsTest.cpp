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
    // A row of each type, with and without a default: the table itself is not restated here.
    const std::string rows[] = {
        "linkhaven.gw.ws.blockingTimeMs 2 1000 000 [Attribute of the gSOAP run-time environment specifies the timeout value for a non-blocking soap_accept call.]",
        "linkhaven.oam.webServicePort 2 - 000 [Web services port]",
        "linkhaven.system.cpu.monitor.setAlarmThreshold 5 90.0 000 [The CPU monitor generates an alarm when the average % of CPU usage is equal or greater to this value]"};
    for (const std::string& strRow : rows)
        EXPECT_EQ(strRow, describe(ParameterInfoDB::getInstance(), strRow.substr(0, strRow.find(' '))));
    // The parameters of the opt-in extensions are not defined: get-config-param lists no more without them.
    for (const char* szExtension : {"linkhaven.oam.metricsPort", "linkhaven.oam.webServiceThreads", "linkhaven.oam.tls.keyFile",
                                     "linkhaven.oam.cpuAffinity"})
        EXPECT_EQ("", describe(ParameterInfoDB::getInstance(), szExtension));
    EXPECT_NE(nullptr, SingletonRegistry::getInstance().find("ParamDefs::Singleton"));
}
