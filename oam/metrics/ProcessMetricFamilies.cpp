#include "oam/metrics/ProcessMetricFamilies.h"

#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <limits>
#include <sstream>
#include <string>

using prometheus::MetricFamily;
using prometheus::MetricType;

namespace {
struct ProcessStat
{
    double dUserTicks = 0;
    double dSystemTicks = 0;
    double dStartTicks = 0;
    double dRssPages = 0;
};

// /proc/self/stat after the command name, whose parentheses may hold anything.
bool readProcessStat(ProcessStat& out_stat)
{
    std::ifstream file("/proc/self/stat");
    std::string strLine;
    if (!std::getline(file, strLine) || strLine.rfind(')') == std::string::npos)
        return false;
    std::istringstream fields(strLine.substr(strLine.rfind(')') + 2));
    std::string strField;
    // Counted from the state, the third field of the line.
    for (int nField = 3; fields >> strField && nField <= 24; ++nField) {
        if (nField == 14)
            out_stat.dUserTicks = std::stod(strField);
        else if (nField == 15)
            out_stat.dSystemTicks = std::stod(strField);
        else if (nField == 22)
            out_stat.dStartTicks = std::stod(strField);
        else if (nField == 24)
            out_stat.dRssPages = std::stod(strField);
    }
    return static_cast<bool>(fields);
}

bool readBootTime(double& out_dSeconds)
{
    std::ifstream file("/proc/stat");
    std::string strKey;
    while (file >> strKey) {
        if (strKey == "btime")
            return static_cast<bool>(file >> out_dSeconds);
        file.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return false;
}

bool countOpenFds(double& out_dCount)
{
    DIR* const pDir = opendir("/proc/self/fd");
    if (!pDir)
        return false;
    out_dCount = 0;
    while (const dirent* pEntry = readdir(pDir))
        out_dCount += pEntry->d_name[0] == '.' ? 0 : 1;
    closedir(pDir);
    // The directory's own descriptor, open while it was read.
    out_dCount -= 1;
    return true;
}

void add(const char* in_szName, const char* in_szHelp, MetricType in_type, double in_dValue,
         std::vector<MetricFamily>& io_vFamilies)
{
    MetricFamily family;
    family.name = in_szName;
    family.help = in_szHelp;
    family.type = in_type;
    family.metric.resize(1);
    (in_type == MetricType::Counter ? family.metric[0].counter.value : family.metric[0].gauge.value) = in_dValue;
    io_vFamilies.push_back(std::move(family));
}
} // namespace

void appendProcessFamilies(std::vector<MetricFamily>& io_vFamilies)
{
    const double dTicksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    ProcessStat stat;
    if (readProcessStat(stat)) {
        add("process_cpu_seconds_total", "Total user and system CPU time spent in seconds.", MetricType::Counter,
            (stat.dUserTicks + stat.dSystemTicks) / dTicksPerSecond, io_vFamilies);
        add("process_resident_memory_bytes", "Resident memory size in bytes.", MetricType::Gauge,
            stat.dRssPages * static_cast<double>(sysconf(_SC_PAGESIZE)), io_vFamilies);
        double dBootTime = 0;
        if (readBootTime(dBootTime))
            add("process_start_time_seconds", "Start time of the process since unix epoch in seconds.",
                MetricType::Gauge, dBootTime + stat.dStartTicks / dTicksPerSecond, io_vFamilies);
    }
    double dOpenFds = 0;
    if (countOpenFds(dOpenFds))
        add("process_open_fds", "Number of open file descriptors.", MetricType::Gauge, dOpenFds, io_vFamilies);
}
