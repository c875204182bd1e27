#pragma once
// The module's metric families, built fresh from one snapshot: OMs, alarms, the alarm colour, the
// CPU monitor, the memory accounts and the administration traffic. Any thread; no state.

#include <vector>

#include <prometheus/metric_family.h>

#include "oam/manager/OAMSnapshot.h"

// Text OMs longer than this, or of more than one line, are left out of linkhaven_om_info.
constexpr std::size_t MAX_OM_INFO_TEXT = 128;

void appendSnapshotFamilies(const OAMSnapshot& in_snapshot, std::vector<prometheus::MetricFamily>& io_vFamilies);
