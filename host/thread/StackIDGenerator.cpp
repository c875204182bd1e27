#include "host/thread/StackIDGenerator.h"

#include "host/core/Assertion.h"

StackIDGenerator::StackIDGenerator(bool in_bThreadSafe) : m_bThreadSafe(in_bThreadSafe) {}

std::uint64_t StackIDGenerator::getID()
{
    if (!m_bThreadSafe)
        return getID_i();
    std::lock_guard<std::mutex> lock(m_mutex);
    return getID_i();
}

void StackIDGenerator::takeBack(std::uint64_t in_ulId)
{
    if (!m_bThreadSafe)
        return takeBack_i(in_ulId);
    std::lock_guard<std::mutex> lock(m_mutex);
    takeBack_i(in_ulId);
}

std::uint64_t StackIDGenerator::getID_i()
{
    std::uint64_t ulId = m_vbOut.size();
    if (m_vTakenBack.empty())
        m_vbOut.push_back(true);
    else {
        ulId = m_vTakenBack.back();
        m_vTakenBack.pop_back();
        m_vbOut[ulId] = true;
    }
    return ulId;
}

void StackIDGenerator::takeBack_i(std::uint64_t in_ulId)
{
    if (!Assertion(in_ulId < m_vbOut.size() && m_vbOut[in_ulId], "in_ulId < m_vbOut.size() && m_vbOut[in_ulId]",
                   __FILE__, __LINE__))
        return;
    m_vbOut[in_ulId] = false;
    m_vTakenBack.push_back(in_ulId);
}
