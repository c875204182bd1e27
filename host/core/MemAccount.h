#pragma once
// The counters of one memory account. Accounts are never destroyed, so a reference to one
// can be kept (in a static, by each accounted class) for the life of the process.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/core/MemAccountInfo.h"

// Called on any thread; lock-free.
class MemAccount
{
  public:
    explicit MemAccount(const std::string& in_strName) : m_strName(in_strName) {}
    MemAccount(const MemAccount&) = delete;
    MemAccount& operator=(const MemAccount&) = delete;

    const std::string& getName() const { return m_strName; }

    void countAllocation(std::size_t in_uiSize);
    void countDeallocation(std::size_t in_uiSize);
    // Each counter is read on its own: under concurrent use the figures are each exact, not a snapshot.
    MemAccountInfo getInfo() const;

  private:
    const std::string m_strName;
    std::atomic<std::uint64_t> m_ulLiveBlocks{0};
    std::atomic<std::uint64_t> m_ulLiveBytes{0};
    std::atomic<std::uint64_t> m_ulPeakBytes{0};
    std::atomic<std::uint64_t> m_ulAllocations{0};
};
