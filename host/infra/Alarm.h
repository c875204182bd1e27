#pragma once
// A named alarm condition of the gateway, defined in the alarm registry and raised or cleared
// through it.

#include <atomic>
#include <ostream>
#include <string>

#include "host/core/OutputStreamable.h"

// Read on any thread; its state changes only through AlarmRegistry::setAlarmState.
class Alarm : public OutputStreamable
{
  public:
    enum State
    {
        CLEARED_STATE = 0,
        RAISED_STATE = 1
    };

    Alarm(const std::string& in_strName, const std::string& in_strDescription);

    const std::string& getName() const { return m_strName; }
    const std::string& getDescription() const { return m_strDescription; }
    State getState() const { return m_state.load(std::memory_order_acquire); }

    // The name: the same text every time, so a clearing notice pairs with the raising one.
    void writeIdentifier(std::ostream& io_stream) const;
    // "<name> [RAISED] <description>", or [CLEARED].
    void write(std::ostream& io_stream) const override;

    static const char* getStateString(State in_state);

  private:
    friend class AlarmRegistry;
    void setState(State in_state) { m_state.store(in_state, std::memory_order_release); }

    const std::string m_strName;
    const std::string m_strDescription;
    std::atomic<State> m_state{CLEARED_STATE};
};
