#include "host/core/MemAccount.h"

void MemAccount::countAllocation(std::size_t in_uiSize)
{
    m_ulLiveBlocks.fetch_add(1, std::memory_order_relaxed);
    m_ulAllocations.fetch_add(1, std::memory_order_relaxed);
    const std::uint64_t ulLive = m_ulLiveBytes.fetch_add(in_uiSize, std::memory_order_relaxed) + in_uiSize;
    std::uint64_t ulPeak = m_ulPeakBytes.load(std::memory_order_relaxed);
    while (ulLive > ulPeak && !m_ulPeakBytes.compare_exchange_weak(ulPeak, ulLive, std::memory_order_relaxed)) {
    }
}

void MemAccount::countDeallocation(std::size_t in_uiSize)
{
    m_ulLiveBlocks.fetch_sub(1, std::memory_order_relaxed);
    m_ulLiveBytes.fetch_sub(in_uiSize, std::memory_order_relaxed);
}

MemAccountInfo MemAccount::getInfo() const
{
    MemAccountInfo info;
    info.m_ulLiveBlocks = m_ulLiveBlocks.load(std::memory_order_relaxed);
    info.m_ulLiveBytes = m_ulLiveBytes.load(std::memory_order_relaxed);
    info.m_ulPeakBytes = m_ulPeakBytes.load(std::memory_order_relaxed);
    info.m_ulAllocations = m_ulAllocations.load(std::memory_order_relaxed);
    return info;
}
