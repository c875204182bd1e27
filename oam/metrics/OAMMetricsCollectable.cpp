#include "oam/metrics/OAMMetricsCollectable.h"

#include "oam/manager/OAMManager.h"
#include "oam/manager/OAMSnapshot.h"
#include "oam/metrics/ProcessMetricFamilies.h"
#include "oam/metrics/SnapshotMetricFamilies.h"

using prometheus::MetricFamily;
using prometheus::MetricType;

namespace {
MetricFamily oneGauge(const char* in_szName, const char* in_szHelp, double in_dValue,
                      std::vector<prometheus::ClientMetric::Label> in_vLabels)
{
    MetricFamily family;
    family.name = in_szName;
    family.help = in_szHelp;
    family.type = MetricType::Gauge;
    family.metric.resize(1);
    family.metric[0].label = std::move(in_vLabels);
    family.metric[0].gauge.value = in_dValue;
    return family;
}
} // namespace

OAMMetricsCollectable::OAMMetricsCollectable(OAMManager& io_manager, const ACE_Time_Value& in_timeout)
    : m_manager(io_manager), m_timeout(in_timeout)
{
}

std::vector<MetricFamily> OAMMetricsCollectable::Collect() const
{
    OAMSnapshot snapshot;
    const bool bUp = m_manager.takeSnapshot(snapshot, m_timeout);
    std::vector<MetricFamily> vFamilies;
    vFamilies.push_back(oneGauge("linkhaven_oam_up", "1 when the OAM manager answered this scrape in time", bUp ? 1 : 0, {}));
    vFamilies.push_back(oneGauge("linkhaven_build_info", "The OAM module's version", 1, {{"version", LINKHAVEN_OAM_VERSION}}));
    if (bUp)
        appendSnapshotFamilies(snapshot, vFamilies);
    appendProcessFamilies(vFamilies);
    return vFamilies;
}
