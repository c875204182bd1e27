#include "host/infra/Alarm.h"

Alarm::Alarm(const std::string& in_strName, const std::string& in_strDescription)
    : m_strName(in_strName), m_strDescription(in_strDescription)
{
}

void Alarm::writeIdentifier(std::ostream& io_stream) const { io_stream << m_strName; }

void Alarm::write(std::ostream& io_stream) const
{
    io_stream << m_strName << " [" << getStateString(getState()) << "] " << m_strDescription;
}

const char* Alarm::getStateString(State in_state)
{
    switch (in_state) {
    case CLEARED_STATE:
        return "CLEARED";
    case RAISED_STATE:
        return "RAISED";
    }
    return "???";
}
