#include "host/infra/AlarmRegistry.h"

#include <algorithm>

AlarmRegistry& AlarmRegistry::getInstance()
{
    static AlarmRegistry s_registry;
    return s_registry;
}

std::shared_ptr<Alarm> AlarmRegistry::defineAlarm(const std::string& in_strName, const std::string& in_strDescription)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const std::shared_ptr<Alarm>& pAlarm : m_vAlarms) {
        if (pAlarm->getName() == in_strName)
            return pAlarm;
    }
    m_vAlarms.push_back(std::make_shared<Alarm>(in_strName, in_strDescription));
    return m_vAlarms.back();
}

bool AlarmRegistry::removeAlarm(const Alarm& in_alarm)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = std::find_if(m_vAlarms.begin(), m_vAlarms.end(),
                                    [&in_alarm](const std::shared_ptr<Alarm>& pAlarm) { return pAlarm.get() == &in_alarm; });
    if (found == m_vAlarms.end())
        return false;
    const std::shared_ptr<Alarm> pAlarm = *found;
    m_vAlarms.erase(found);
    if (pAlarm->getState() != Alarm::CLEARED_STATE) {
        pAlarm->setState(Alarm::CLEARED_STATE);
        notifyLocked(*pAlarm);
    }
    return true;
}

bool AlarmRegistry::setAlarmState(Alarm& io_alarm, Alarm::State in_state)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!isDefinedLocked(io_alarm) || io_alarm.getState() == in_state)
        return false;
    io_alarm.setState(in_state);
    notifyLocked(io_alarm);
    return true;
}

void AlarmRegistry::getAllAlarms(AlarmVector& out_vAlarms) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    out_vAlarms.assign(m_vAlarms.begin(), m_vAlarms.end());
}

void AlarmRegistry::addObserver(Observer* in_pObserver)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vObservers.push_back(in_pObserver);
}

void AlarmRegistry::removeObserver(Observer* in_pObserver)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vObservers.erase(std::remove(m_vObservers.begin(), m_vObservers.end(), in_pObserver), m_vObservers.end());
}

bool AlarmRegistry::isDefinedLocked(const Alarm& in_alarm) const
{
    return std::any_of(m_vAlarms.begin(), m_vAlarms.end(),
                       [&in_alarm](const std::shared_ptr<Alarm>& pAlarm) { return pAlarm.get() == &in_alarm; });
}

void AlarmRegistry::notifyLocked(const Alarm& in_alarm) const
{
    for (Observer* pObserver : m_vObservers)
        pObserver->newAlarmState(in_alarm);
}
