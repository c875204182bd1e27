#include "oam/alarm/AlarmData_MO.h"

#include <sstream>
#include <utility>

#include "host/thread/ActivationQueue.h"
#include "host/thread/ThreadChecker.h"

OAMManager::AlarmData_MO::AlarmData_MO(OAMManager* in_pManager, std::string in_strAlarm, Alarm::State in_state)
    : m_pManager(in_pManager), m_strAlarm(std::move(in_strAlarm)), m_state(in_state)
{
}

int OAMManager::AlarmData_MO::call()
{
    return m_pManager->newAlarmState_i(m_strAlarm, m_state);
}

void OAMManager::newAlarmState(const Alarm& in_alarm)
{
    std::ostringstream text;
    in_alarm.writeIdentifier(text);
    getActivationQueue()->enqueueMO(new AlarmData_MO(this, text.str(), in_alarm.getState()),
                                    "OAMManager::newAlarmState");
}

MOCallStatus OAMManager::newAlarmState_i(const std::string& in_strAlarm, const Alarm::State& in_state)
{
    LH_CHECK_TASK_THREAD();
    // Only raised alarms have an entry: a clearing notice removes one, or finds none. A repeated
    // raising notice keeps the first time.
    if (in_state == Alarm::RAISED_STATE)
        m_alarmStateHash.emplace(in_strAlarm, std::chrono::system_clock::now());
    else
        m_alarmStateHash.erase(in_strAlarm);
    return MO_CALL_SUCCESS;
}
