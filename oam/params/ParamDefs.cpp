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
