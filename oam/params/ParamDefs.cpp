#include "oam/params/ParamDefs.h"

#include "host/core/AceCleanupLogger.h"
#include "host/core/LinkhavenException.h"
#include "host/core/SingletonRegistry.h"
#include "host/infra/ParameterInfoDB.h"

namespace {

struct ParamDef
{
    const char* szName;
    ParameterValue::Type type;
    const char* szDefault; // null: no default
    const char* szDescription;
};

const ParamDef PARAM_DEFS[] = {
    {"linkhaven.gw.ws.blockingTimeMs", ParameterValue::INTEGER_TYPE, "1000",
     "Attribute of the gSOAP run-time environment specifies the timeout value for a non-blocking soap_accept call."},
    // No default: the server falls back to its own port when none is configured.
    {"linkhaven.oam.webServicePort", ParameterValue::INTEGER_TYPE, nullptr, "Web services port"},
    {"linkhaven.oam.webServiceIpAddress", ParameterValue::STRING_TYPE, nullptr, "Web services IP address"},
    {"linkhaven.oam.app.pythonRunnableClassName", ParameterValue::STRING_TYPE, nullptr,
     "The name of a Python class that implements a thread that will be run by the application. The Python class "
     "must implement the terminate() and run_i() methods"},
    {"linkhaven.system.cpu.monitor.monitoringPeriodInMs", ParameterValue::INTEGER_TYPE, "500",
     "The monitoring period in ms of the system CPU resource usage.  Set this value to 0 to disable the CPU usage "
     "monitor."},
    {"linkhaven.system.cpu.monitor.setAlarmThreshold", ParameterValue::FLOATING_TYPE, "90.0",
     "The CPU monitor generates an alarm when the average % of CPU usage is equal or greater to this value"},
    {"linkhaven.system.cpu.monitor.resetAlarmThreshold", ParameterValue::FLOATING_TYPE, "80.0",
     "The CPU monitor clear the alarm when the average % of CPU usage goes below this value"},
    {"linkhaven.system.cpu.monitor.averageWindowSize", ParameterValue::INTEGER_TYPE, "15",
     " The number of observation required to compute the average % of CPU usage."},
    {"linkhaven.oam.webServiceIoTimeoutMs", ParameterValue::INTEGER_TYPE, nullptr,
     "Receive and send time-out in ms of the web service's connections; absent or 0: none"},
    {"linkhaven.oam.webServiceRequestTimeoutMs", ParameterValue::INTEGER_TYPE, nullptr,
     "Time in ms within which the web service reads a whole request and writes its answer; absent or 0: no limit"},
    {"linkhaven.oam.webServiceMaxRequestBytes", ParameterValue::INTEGER_TYPE, nullptr,
     "Largest request in bytes that the web service reads; absent or 0: the SOAP toolkit's own limit"},
    {"linkhaven.oam.webServiceThreads", ParameterValue::INTEGER_TYPE, nullptr,
     "Connections the web service serves at once, each on a thread of its own; absent or 1: one"},
    // No default: without a port nothing listens.
    {"linkhaven.oam.metricsPort", ParameterValue::INTEGER_TYPE, nullptr,
     "Port of the metrics, health and readiness endpoint (Prometheus text format); absent or 0: none"},
    {"linkhaven.oam.metricsIpAddress", ParameterValue::STRING_TYPE, "127.0.0.1",
     "IP address of the metrics endpoint; 0.0.0.0 serves other hosts too"},
    {"linkhaven.oam.tls.certificateFile", ParameterValue::STRING_TYPE, nullptr,
     "PEM certificate (chain) of the web service; with keyFile, the web service speaks TLS only; absent: plain HTTP"},
    {"linkhaven.oam.tls.keyFile", ParameterValue::STRING_TYPE, nullptr, "PEM private key of the web service's certificate"},
    {"linkhaven.oam.tls.clientCaFile", ParameterValue::STRING_TYPE, nullptr,
     "PEM CA certificates that every client certificate must be signed by; absent: no client certificate asked for"},
    {"linkhaven.oam.auth.usersFile", ParameterValue::STRING_TYPE, nullptr,
     "File of user:hash lines (htpasswd -B: bcrypt, or yescrypt); every request then needs HTTP Basic credentials"},
    {"linkhaven.oam.auth.allowPlaintext", ParameterValue::STRING_TYPE, nullptr,
     "true: the users file may be used without TLS, passwords crossing the network in clear; absent: false"},
    {"linkhaven.oam.auth.readOnlyUsers", ParameterValue::STRING_TYPE, nullptr,
     "Users, separated by commas, who may only run commands that change nothing"},
};

// Empty: registered under "ParamDefs::Singleton", it stands for the definitions of a load of the module.
class ParamDefsSingleton
{
  public:
    ParamDefsSingleton() { Oam::addParametersToDB(); }
};

void deleteParamDefsSingleton(void* in_pObject, void*) { delete static_cast<ParamDefsSingleton*>(in_pObject); }

// The definitions are made by the new marker even when an earlier one holds the name.
const void* defineParametersAtLoad()
{
    auto* pCreated = new ParamDefsSingleton();
    void* pRegistered = SingletonRegistry::getInstance().registerSingleton("ParamDefs::Singleton", pCreated,
                                                                           &deleteParamDefsSingleton, nullptr);
    if (pRegistered != pCreated)
        delete pCreated;
    return pRegistered;
}

const void* const g_pParamDefsSingleton = defineParametersAtLoad();

} // namespace

bool Oam::addParametersToDB() { return addParametersToDB(ParameterInfoDB::getNonConstInstance()); }

bool Oam::addParametersToDB(ParameterInfoDB& io_database)
{
    try {
        for (const ParamDef& def : PARAM_DEFS)
            io_database.defineParameter(def.szName, def.type, def.szDefault, false, false, false, def.szDescription);
    } catch (const LinkhavenException& exception) {
        LH_ERROR(AceCleanupLogger::get("linkhaven.infra.ParamDefs"), exception);
        return false;
    }
    return true;
}
