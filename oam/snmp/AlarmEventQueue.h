#pragma once
// The raises and clears of alarms that wait to go out as notifications: filled on whichever thread
// changed an alarm, emptied by the subagent's thread while the master agent is there. Bounded: when
// full the oldest goes, with one warning until the queue is next emptied.
//
// Any thread.

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

class AlarmEventQueue
{
  public:
    struct Event
    {
        std::string strName;
        std::string strDescription;
        bool bRaised = false;
        std::chrono::system_clock::time_point time;
    };

    explicit AlarmEventQueue(std::size_t in_uiCapacity) : m_uiCapacity(in_uiCapacity) {}

    // True when the queue was empty: only then must the consumer be woken, since a queue that was
    // not empty has either a wake-up on its way or a consumer waiting for the master agent.
    bool push(Event in_event);
    // Everything queued, oldest first; the queue is then empty.
    std::deque<Event> takeAll();

  private:
    const std::size_t m_uiCapacity;
    std::mutex m_mutex;
    std::deque<Event> m_events;
    bool m_bDropping = false;
};
