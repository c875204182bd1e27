#include "oam/snmp/SnapshotSource.h"

#include "host/core/AceCleanupLogger.h"
#include "oam/manager/OAMManager.h"

namespace {
const std::chrono::seconds MAX_AGE(1);
// Well within the master agent's own wait for a subagent's answer (a second by default).
const ACE_Time_Value SNAPSHOT_TIMEOUT(0, 250000);
} // namespace

const OAMSnapshot& SnapshotSource::current()
{
    const auto now = std::chrono::steady_clock::now();
    if (m_bTaken && now - m_takenAt < MAX_AGE)
        return m_snapshot;
    m_snapshot = OAMSnapshot();
    if (!m_manager.takeSnapshot(m_snapshot, SNAPSHOT_TIMEOUT)) {
        m_snapshot = OAMSnapshot();
        LH_DEBUG(AceCleanupLogger::get("linkhaven.oam.snmp"), "SNMP: the OAM manager gave no snapshot in time");
    }
    m_takenAt = now;
    m_bTaken = true;
    return m_snapshot;
}
