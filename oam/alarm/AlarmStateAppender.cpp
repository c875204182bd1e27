#include "oam/alarm/AlarmStateAppender.h"

using Guard = log4cplus::thread::MutexGuard;

namespace {

// Only these three exact levels count: a custom level between them raises nothing.
bool stateOfLevel(log4cplus::LogLevel in_level, AlarmStateAppender::AlarmState& out_state)
{
    switch (in_level) {
    case log4cplus::WARN_LOG_LEVEL:
        out_state = AlarmStateAppender::YELLOW;
        return true;
    case log4cplus::ERROR_LOG_LEVEL:
        out_state = AlarmStateAppender::ORANGE;
        return true;
    case log4cplus::FATAL_LOG_LEVEL:
        out_state = AlarmStateAppender::RED;
        return true;
    default:
        return false;
    }
}

} // namespace

AlarmStateAppender::AlarmStateAppender() : m_alarmState(GREEN)
{
    setThreshold(log4cplus::WARN_LOG_LEVEL);
}

AlarmStateAppender::~AlarmStateAppender() { destructorImpl(); }

void AlarmStateAppender::close() {}

AlarmStateAppender::AlarmState AlarmStateAppender::getAlarmState() const
{
    Guard guard(access_mutex);
    return m_alarmState;
}

LimitedObjPtr<log4cplus::spi::InternalLoggingEvent> AlarmStateAppender::getAlarmEvent() const
{
    Guard guard(access_mutex);
    return LimitedObjPtr<log4cplus::spi::InternalLoggingEvent>(m_pAlarmEvent.get());
}

AlarmStateAppender::AlarmSnapshot AlarmStateAppender::getAlarmSnapshot() const
{
    Guard guard(access_mutex);
    AlarmSnapshot snapshot;
    snapshot.state = m_alarmState;
    if (m_pAlarmEvent) {
        snapshot.strMessage = m_pAlarmEvent->getMessage();
        snapshot.strLoggerName = m_pAlarmEvent->getLoggerName();
        snapshot.timestamp = m_pAlarmEvent->getTimestamp();
    }
    return snapshot;
}

void AlarmStateAppender::resetAlarmState()
{
    Guard guard(access_mutex);
    m_alarmState = GREEN;
    m_pAlarmEvent.reset();
}

const char* AlarmStateAppender::alarmStateString(AlarmState in_state)
{
    switch (in_state) {
    case GREEN:
        return "GREEN";
    case YELLOW:
        return "YELLOW";
    case ORANGE:
        return "ORANGE";
    case RED:
        return "RED";
    }
    return "???";
}

void AlarmStateAppender::append(const log4cplus::spi::InternalLoggingEvent& in_event)
{
    AlarmState eventState;
    if (!stateOfLevel(in_event.getLogLevel(), eventState) || eventState <= m_alarmState)
        return;
    m_alarmState = eventState;
    // Dropped before copying, so that a failed copy never leaves an event of a lower level
    // standing for the new state.
    m_pAlarmEvent.reset();
    m_pAlarmEvent = in_event.clone();
    // Thread name and diagnostic contexts are filled lazily by const getters: fill them here, on
    // the logging thread, so that they are this event's and a reader's getter writes nothing.
    m_pAlarmEvent->gatherThreadSpecificData();
}
