#include "host/core/MemAccountInfo.h"

#include <map>

void MemAccountInfo::write(std::ostream& io_stream) const
{
    io_stream << "blocks: " << m_ulLiveBlocks << ", bytes: " << m_ulLiveBytes << ", peak bytes: " << m_ulPeakBytes
              << ", allocations: " << m_ulAllocations;
}

void MemAccountInfoHash::write(std::ostream& io_stream) const
{
    const std::map<std::string, MemAccountInfo> sorted(m_accounts.begin(), m_accounts.end());
    const char* szSeparator = "";
    for (const auto& account : sorted) {
        io_stream << szSeparator << account.first << " : ";
        account.second.write(io_stream);
        szSeparator = "\n";
    }
}
