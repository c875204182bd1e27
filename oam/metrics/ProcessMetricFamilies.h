#pragma once
// The process figures that exporters conventionally give, read from /proc at each call:
// process_cpu_seconds_total, process_resident_memory_bytes, process_open_fds and
// process_start_time_seconds. Any thread; a figure that cannot be read is left out.

#include <vector>

#include <prometheus/metric_family.h>

void appendProcessFamilies(std::vector<prometheus::MetricFamily>& io_vFamilies);
