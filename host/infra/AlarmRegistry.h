#pragma once
// The process-wide table of the gateway's alarms. Components define their alarms here and raise
// and clear them; observers hear of every change of state.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/infra/Alarm.h"

// Called on any thread. Observers are told with the registry's lock held, so that they hear the
// changes of one alarm in the order they happened and are never told after removeObserver has
// returned; an observer must therefore not call the registry from newAlarmState.
class AlarmRegistry
{
  public:
    class Observer
    {
      public:
        virtual ~Observer() = default;
        virtual void newAlarmState(const Alarm& in_alarm) = 0;
    };

    // Counted, so that an alarm listed for printing outlives its removal from the registry.
    using AlarmVector = std::vector<std::shared_ptr<const Alarm>>;

    static AlarmRegistry& getInstance();

    // The alarm of that name, defined cleared on first use; a later definition keeps the first
    // description.
    std::shared_ptr<Alarm> defineAlarm(const std::string& in_strName, const std::string& in_strDescription);
    // A raised alarm is cleared, and observers told so, before it goes. False when not defined here.
    bool removeAlarm(const Alarm& in_alarm);

    // Tells the observers when the state changes; false when the state was already so, or the
    // alarm is not defined here.
    bool setAlarmState(Alarm& io_alarm, Alarm::State in_state);

    // Every defined alarm, in the order of definition.
    void getAllAlarms(AlarmVector& out_vAlarms) const;

    // The registry does not own observers. An observer added twice is told twice, and removing it
    // removes both.
    void addObserver(Observer* in_pObserver);
    void removeObserver(Observer* in_pObserver);

  private:
    AlarmRegistry() = default;
    bool isDefinedLocked(const Alarm& in_alarm) const;
    void notifyLocked(const Alarm& in_alarm) const;

    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<Alarm>> m_vAlarms;
    std::vector<Observer*> m_vObservers;
};
