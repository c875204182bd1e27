#pragma once
// One alarm per span in the alarm registry, "linkhaven.pstn.span<S>.outOfService": raised while
// all of the span's channels are out of service. The alarms are defined, cleared, with the object
// and removed from the registry when it goes.
//
// Host thread for construction and destruction; the channel command executer's thread otherwise.

#include <memory>
#include <string>
#include <vector>

#include "host/infra/Alarm.h"

class SpanAlarms
{
  public:
    explicit SpanAlarms(unsigned in_uiSpanCount);
    ~SpanAlarms();
    SpanAlarms(const SpanAlarms&) = delete;
    SpanAlarms& operator=(const SpanAlarms&) = delete;

    // Raises or clears the span's alarm. "Alarm raised : <name>" or "Alarm cleared : <name>" when
    // that changed its state, empty otherwise.
    std::string update(unsigned in_uiSpan, bool in_bAllOutOfService);

    static std::string alarmName(unsigned in_uiSpan);

  private:
    // By span number less one.
    std::vector<std::shared_ptr<Alarm>> m_vpAlarms;
};
