#include "apps/gateway/SpanAlarms.h"

#include "apps/gateway/ChannelTable.h"
#include "host/infra/AlarmRegistry.h"

SpanAlarms::SpanAlarms(unsigned in_uiSpanCount)
{
    AlarmRegistry& registry = AlarmRegistry::getInstance();
    for (unsigned uiSpan = 1; uiSpan <= in_uiSpanCount; ++uiSpan) {
        m_vpAlarms.push_back(registry.defineAlarm(
            alarmName(uiSpan), "All channels of " + ChannelTable::spanName(uiSpan) + " are out of service"));
    }
}

SpanAlarms::~SpanAlarms()
{
    for (const std::shared_ptr<Alarm>& pAlarm : m_vpAlarms)
        AlarmRegistry::getInstance().removeAlarm(*pAlarm);
}

std::string SpanAlarms::update(unsigned in_uiSpan, bool in_bAllOutOfService)
{
    Alarm& alarm = *m_vpAlarms.at(in_uiSpan - 1);
    if (!AlarmRegistry::getInstance().setAlarmState(alarm, in_bAllOutOfService ? Alarm::RAISED_STATE
                                                                                : Alarm::CLEARED_STATE))
        return "";
    return (in_bAllOutOfService ? "Alarm raised : " : "Alarm cleared : ") + alarm.getName();
}

std::string SpanAlarms::alarmName(unsigned in_uiSpan)
{
    return "linkhaven.pstn." + ChannelTable::spanName(in_uiSpan) + ".outOfService";
}
