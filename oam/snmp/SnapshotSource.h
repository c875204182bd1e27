#pragma once
// The manager's snapshot as the subagent's tables read it: taken again when the last is older than a
// second, so that the two tables and the colour of one walk come from one snapshot and a walk costs
// the manager one hop, not one per row. Empty when the manager does not answer in time.
//
// The subagent's thread only. The manager must outlive it.

#include <chrono>

#include "oam/manager/OAMSnapshot.h"

class OAMManager;

class SnapshotSource
{
  public:
    explicit SnapshotSource(OAMManager& io_manager) : m_manager(io_manager) {}

    const OAMSnapshot& current();

  private:
    OAMManager& m_manager;
    OAMSnapshot m_snapshot;
    std::chrono::steady_clock::time_point m_takenAt;
    bool m_bTaken = false;
};
