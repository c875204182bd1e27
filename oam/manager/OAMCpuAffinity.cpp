#include "oam/manager/OAMCpuAffinity.h"

#include <string>

#include "host/core/Logger.h"
#include "host/infra/ROConfiguration.h"
#include "host/thread/CpuSet.h"

namespace {
const char* const CPU_AFFINITY_KEY = "linkhaven.oam.cpuAffinity";
}

void confineToOAMCpus(const ROConfiguration& in_config, const Logger& in_logger, const char* in_szThreads)
{
    std::string strList;
    if (!in_config.getString(CPU_AFFINITY_KEY, strList) || strList.empty())
        return;
    CpuSet cpus;
    std::string strError;
    if (CpuSet::parse(strList, cpus, strError) && cpus.confineCallingThread(strError))
        LH_INFO(in_logger, in_szThreads << " confined to CPUs " << strList);
    else
        LH_WARN(in_logger, in_szThreads << " not confined: " << CPU_AFFINITY_KEY << "=" << strList << ": " << strError);
}
