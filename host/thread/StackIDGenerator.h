#pragma once
// Identifiers from 0 upwards, the last one taken back given out first, so that they stay small
// enough to index a vector.

#include <mutex>
#include <vector>

#include "host/thread/IDGenerator.h"

// Built with false: one thread only (its owning task's). With true: any thread, under a lock.
class StackIDGenerator : public IDGenerator
{
  public:
    explicit StackIDGenerator(bool in_bThreadSafe);

    std::uint64_t getID() override;
    // An identifier that is not out (never given, or already back) is reported and ignored.
    void takeBack(std::uint64_t in_ulId) override;

  private:
    std::uint64_t getID_i();
    void takeBack_i(std::uint64_t in_ulId);

    const bool m_bThreadSafe;
    std::mutex m_mutex;
    std::vector<std::uint64_t> m_vTakenBack;
    std::vector<bool> m_vbOut; // indexed by identifier
};
