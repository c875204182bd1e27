#pragma once
// The gateway's log-derived alarm colour: the worst of the warn, error and fatal events seen since
// the last reset, and a copy of the event that first raised it to that colour.

#include <cstdint>
#include <memory>
#include <string>

#include <log4cplus/appender.h>
#include <log4cplus/spi/loggingevent.h>

#include "host/core/LimitedObjPtr.h"

// Called on any thread: append runs on the logging thread under access_mutex, which the logging
// library takes around it, and every read and the reset take that same lock.
class AlarmStateAppender : public log4cplus::Appender
{
  public:
    enum AlarmState : std::int32_t
    {
        GREEN = 0,
        YELLOW = 1,
        ORANGE = 2,
        RED = 3
    };

    // A copy of what readers need, taken in one go, so that it never mixes two events.
    struct AlarmSnapshot
    {
        AlarmState state = GREEN;
        // Empty, and the time zero, when no event is stored.
        std::string strMessage;
        std::string strLoggerName;
        log4cplus::helpers::Time timestamp;
    };

    AlarmStateAppender();
    ~AlarmStateAppender() override;

    // Nothing to release.
    void close() override;

    AlarmState getAlarmState() const;
    // Null when no event is stored. The event is deleted by the next rise of the state or reset:
    // dereference it only while holding access_mutex, or while nothing can log at warn or above
    // to the loggers the appender is attached to. getAlarmSnapshot needs neither.
    LimitedObjPtr<log4cplus::spi::InternalLoggingEvent> getAlarmEvent() const;
    AlarmSnapshot getAlarmSnapshot() const;
    // Back to GREEN, the stored event dropped.
    void resetAlarmState();

    // "GREEN", "YELLOW", "ORANGE", "RED"; "???" for any other value.
    static const char* alarmStateString(AlarmState in_state);

  protected:
    void append(const log4cplus::spi::InternalLoggingEvent& in_event) override;

  private:
    AlarmState m_alarmState;
    std::unique_ptr<log4cplus::spi::InternalLoggingEvent> m_pAlarmEvent;
};
