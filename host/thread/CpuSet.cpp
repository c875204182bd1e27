#include "host/thread/CpuSet.h"

#include <pthread.h>

#include <cerrno>
#include <cstring>
#include <sstream>

namespace {
// One CPU number: digits only, below CPU_SETSIZE.
bool readCpu(const std::string& in_strNumber, unsigned& out_uiCpu, std::string& out_strError)
{
    if (in_strNumber.empty() || in_strNumber.find_first_not_of("0123456789") != std::string::npos)
        return false;
    if (in_strNumber.size() > 4 || std::stoul(in_strNumber) >= CPU_SETSIZE) {
        out_strError = "CPU " + in_strNumber + " is beyond the largest CPU number " + std::to_string(CPU_SETSIZE - 1);
        return false;
    }
    out_uiCpu = static_cast<unsigned>(std::stoul(in_strNumber));
    return true;
}
} // namespace

bool CpuSet::parse(const std::string& in_strList, CpuSet& out_set, std::string& out_strError)
{
    const std::string strNotAList = "not a list of CPUs such as 0-3,6: \"" + in_strList + "\"";
    CpuSet set;
    std::istringstream items(in_strList);
    std::string strItem;
    bool bAny = false;
    while (std::getline(items, strItem, ',')) {
        const std::size_t uiDash = strItem.find('-');
        unsigned uiFirst = 0, uiLast = 0;
        out_strError.clear();
        if (!readCpu(strItem.substr(0, uiDash), uiFirst, out_strError) ||
            !readCpu(uiDash == std::string::npos ? strItem : strItem.substr(uiDash + 1), uiLast, out_strError) ||
            uiLast < uiFirst) {
            if (out_strError.empty())
                out_strError = strNotAList;
            return false;
        }
        for (unsigned uiCpu = uiFirst; uiCpu <= uiLast; ++uiCpu)
            CPU_SET(uiCpu, &set.m_cpus);
        bAny = true;
    }
    // getline leaves a trailing comma, and an empty text, unread.
    if (!bAny || in_strList.back() == ',') {
        out_strError = strNotAList;
        return false;
    }
    out_set = set;
    return true;
}

bool CpuSet::confineCallingThread(std::string& out_strError) const
{
    const int nError = pthread_setaffinity_np(pthread_self(), sizeof m_cpus, &m_cpus);
    if (nError == 0)
        return true;
    // EINVAL: none of them is online and allowed to this process.
    out_strError = nError == EINVAL ? "none of these CPUs is available to this process" : std::strerror(nError);
    return false;
}
