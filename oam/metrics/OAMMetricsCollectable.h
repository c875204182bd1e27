#pragma once
// What the metrics endpoint serves at /metrics, read afresh at each scrape: one snapshot of the
// manager, taken within the time-out, and the process figures. Should the snapshot not come in
// time, the scrape still answers, with linkhaven_oam_up 0 and no module figures.
//
// Any thread: Collect runs on a worker of the endpoint. The manager must outlive this object.

#include <vector>

#include <ace/Time_Value.h>
#include <prometheus/collectable.h>
#include <prometheus/metric_family.h>

class OAMManager;

class OAMMetricsCollectable : public prometheus::Collectable
{
  public:
    OAMMetricsCollectable(OAMManager& io_manager, const ACE_Time_Value& in_timeout);

    std::vector<prometheus::MetricFamily> Collect() const override;

  private:
    OAMManager& m_manager;
    const ACE_Time_Value m_timeout;
};
