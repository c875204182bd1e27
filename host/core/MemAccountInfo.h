#pragma once
// What one memory account holds, and the table of all of them.

#include <cstdint>
#include <ostream>
#include <string>
#include <unordered_map>

struct MemAccountInfo
{
    std::uint64_t m_ulLiveBlocks = 0;
    std::uint64_t m_ulLiveBytes = 0;
    std::uint64_t m_ulPeakBytes = 0;
    std::uint64_t m_ulAllocations = 0; // since the account was opened

    // "blocks: 2, bytes: 96, peak bytes: 144, allocations: 3"
    void write(std::ostream& io_stream) const;
};

class MemAccountInfoHash
{
  public:
    using Map = std::unordered_map<std::string, MemAccountInfo>;

    explicit MemAccountInfoHash(std::size_t in_uiMinBuckets = 100) : m_accounts(in_uiMinBuckets) {}

    Map& getAccounts() { return m_accounts; }
    const Map& getAccounts() const { return m_accounts; }

    // One line per account, "<name> : <info>", sorted by name so that two dumps compare by eye;
    // lines are separated by a newline, with none after the last.
    void write(std::ostream& io_stream) const;

  private:
    Map m_accounts;
};
