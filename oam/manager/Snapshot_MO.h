#pragma once
// Carries one snapshot request to the manager's thread. The gathering it starts is shared with the
// reporters' observers; whichever lets it go last hands the snapshot to the waiting caller.

#include <future>
#include <memory>
#include <utility>

#include <ace/Method_Request.h>

#include "oam/manager/OAMManager.h"
#include "oam/manager/OAMSnapshot.h"

// Any thread: each observer writes only its own OM's slot, and the last release of the shared
// pointer orders every write before the hand-over.
class OAMManager::SnapshotGather
{
  public:
    explicit SnapshotGather(std::promise<OAMSnapshot> in_answer) : m_answer(std::move(in_answer)) {}
    // Unfilled (the method object was dropped unrun), it leaves the promise broken: no snapshot.
    ~SnapshotGather()
    {
        if (m_bFilled)
            m_answer.set_value(std::move(m_snapshot));
    }
    SnapshotGather(const SnapshotGather&) = delete;
    SnapshotGather& operator=(const SnapshotGather&) = delete;

    OAMSnapshot m_snapshot;
    bool m_bFilled = false;

  private:
    std::promise<OAMSnapshot> m_answer;
};

class OAMManager::Snapshot_MO : public ACE_Method_Request
{
  public:
    Snapshot_MO(OAMManager& in_manager, std::shared_ptr<SnapshotGather> in_pGather)
        : m_manager(in_manager), m_pGather(std::move(in_pGather))
    {
    }

    int call() override { return m_manager.takeSnapshot_i(m_pGather); }

  private:
    OAMManager& m_manager;
    const std::shared_ptr<SnapshotGather> m_pGather;
};
