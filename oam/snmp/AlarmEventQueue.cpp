#include "oam/snmp/AlarmEventQueue.h"

#include <utility>

#include "host/core/AceCleanupLogger.h"

bool AlarmEventQueue::push(Event in_event)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const bool bWasEmpty = m_events.empty();
    if (m_events.size() == m_uiCapacity) {
        m_events.pop_front();
        if (!m_bDropping)
            LH_WARN(AceCleanupLogger::get("linkhaven.oam.snmp"),
                    "SNMP: " << m_uiCapacity << " alarm notifications wait for the master agent; the oldest are dropped");
        m_bDropping = true;
    }
    m_events.push_back(std::move(in_event));
    return bWasEmpty;
}

std::deque<AlarmEventQueue::Event> AlarmEventQueue::takeAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bDropping = false;
    return std::exchange(m_events, {});
}
