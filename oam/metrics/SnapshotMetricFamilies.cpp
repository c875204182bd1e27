#include "oam/metrics/SnapshotMetricFamilies.h"

#include <chrono>
#include <limits>
#include <string>
#include <utility>

using prometheus::ClientMetric;
using prometheus::MetricFamily;
using prometheus::MetricType;

namespace {
MetricFamily family(const char* in_szName, const char* in_szHelp, MetricType in_type)
{
    MetricFamily result;
    result.name = in_szName;
    result.help = in_szHelp;
    result.type = in_type;
    return result;
}

ClientMetric sample(double in_dValue, std::vector<ClientMetric::Label> in_vLabels, MetricType in_type)
{
    ClientMetric metric;
    metric.label = std::move(in_vLabels);
    (in_type == MetricType::Counter ? metric.counter.value : metric.gauge.value) = in_dValue;
    return metric;
}

// Families without a sample are left out: a lone TYPE line says nothing.
void add(MetricFamily&& io_family, std::vector<MetricFamily>& io_vFamilies)
{
    if (!io_family.metric.empty())
        io_vFamilies.push_back(std::move(io_family));
}

void appendOMs(const OAMSnapshot& in_snapshot, std::vector<MetricFamily>& io_vFamilies)
{
    MetricFamily values = family("linkhaven_om_value", "The value of a numeric OM", MetricType::Gauge);
    MetricFamily infos = family("linkhaven_om_info", "A text OM of one short line, as its value label", MetricType::Gauge);
    for (const OAMSnapshot::OM& om : in_snapshot.vOMs) {
        if (!om.value.valid())
            continue;
        const ParameterValue& value = om.value.value();
        double dValue = 0.0;
        if (om.description.kind == OMDescription::NUMERIC && value.getFloating(dValue))
            values.metric.push_back(sample(dValue, {{"om", om.description.strName}}, MetricType::Gauge));
        else if (om.description.kind == OMDescription::TEXT && value.getText().size() <= MAX_OM_INFO_TEXT &&
                 value.getText().find('\n') == std::string::npos)
            infos.metric.push_back(
                sample(1, {{"om", om.description.strName}, {"value", value.getText()}}, MetricType::Gauge));
    }
    add(std::move(values), io_vFamilies);
    add(std::move(infos), io_vFamilies);
}

void appendAlarms(const OAMSnapshot& in_snapshot, std::vector<MetricFamily>& io_vFamilies)
{
    MetricFamily active = family("linkhaven_alarm_active", "1 while the alarm is raised", MetricType::Gauge);
    MetricFamily raised = family("linkhaven_alarm_raised_timestamp_seconds", "When the raised alarm was raised",
                                 MetricType::Gauge);
    for (const OAMSnapshot::AlarmEntry& alarm : in_snapshot.vAlarms) {
        active.metric.push_back(sample(alarm.bRaised ? 1 : 0, {{"alarm", alarm.strName}}, MetricType::Gauge));
        if (alarm.bRaised) {
            const double dSeconds = std::chrono::duration<double>(alarm.raisedAt.time_since_epoch()).count();
            raised.metric.push_back(sample(dSeconds, {{"alarm", alarm.strName}}, MetricType::Gauge));
        }
    }
    add(std::move(active), io_vFamilies);
    add(std::move(raised), io_vFamilies);

    MetricFamily colour = family("linkhaven_alarm_colour", "1 on the current alarm colour", MetricType::Gauge);
    for (const auto state : {AlarmStateAppender::GREEN, AlarmStateAppender::YELLOW, AlarmStateAppender::ORANGE,
                             AlarmStateAppender::RED})
        colour.metric.push_back(sample(state == in_snapshot.alarmColour ? 1 : 0,
                                       {{"colour", AlarmStateAppender::alarmStateString(state)}}, MetricType::Gauge));
    add(std::move(colour), io_vFamilies);

    MetricFamily cpu = family("linkhaven_cpu_usage_ratio", "The CPU monitor's average system CPU usage", MetricType::Gauge);
    if (in_snapshot.cpuUsageRatio.valid())
        cpu.metric.push_back(sample(in_snapshot.cpuUsageRatio.value(), {}, MetricType::Gauge));
    add(std::move(cpu), io_vFamilies);
}

void appendMemAccounts(const OAMSnapshot& in_snapshot, std::vector<MetricFamily>& io_vFamilies)
{
    MetricFamily bytes = family("linkhaven_mem_account_bytes", "Bytes live in the memory account", MetricType::Gauge);
    MetricFamily blocks = family("linkhaven_mem_account_blocks", "Blocks live in the memory account", MetricType::Gauge);
    MetricFamily peak = family("linkhaven_mem_account_peak_bytes", "The most bytes the account held", MetricType::Gauge);
    for (const auto& entry : in_snapshot.memAccounts.getAccounts()) {
        const std::vector<ClientMetric::Label> labels{{"account", entry.first}};
        bytes.metric.push_back(sample(entry.second.m_ulLiveBytes, labels, MetricType::Gauge));
        blocks.metric.push_back(sample(entry.second.m_ulLiveBlocks, labels, MetricType::Gauge));
        peak.metric.push_back(sample(entry.second.m_ulPeakBytes, labels, MetricType::Gauge));
    }
    add(std::move(bytes), io_vFamilies);
    add(std::move(blocks), io_vFamilies);
    add(std::move(peak), io_vFamilies);
}

void appendTraffic(const OAMTrafficCounters::Figures& in_traffic, std::vector<MetricFamily>& io_vFamilies)
{
    MetricFamily commands = family("linkhaven_oam_commands_total", "Administration commands by name and result",
                                   MetricType::Counter);
    for (const auto& entry : in_traffic.commands) {
        commands.metric.push_back(
            sample(entry.second.ulSuccess, {{"command", entry.first}, {"result", "success"}}, MetricType::Counter));
        commands.metric.push_back(
            sample(entry.second.ulFailure, {{"command", entry.first}, {"result", "failure"}}, MetricType::Counter));
    }
    add(std::move(commands), io_vFamilies);

    MetricFamily duration = family("linkhaven_oam_command_duration_seconds", "Time to answer an administration command",
                                   MetricType::Histogram);
    ClientMetric histogram;
    std::uint64_t ulCumulative = 0;
    for (std::size_t ui = 0; ui < in_traffic.aulDurationBuckets.size(); ++ui) {
        ulCumulative += in_traffic.aulDurationBuckets[ui];
        const double dBound = ui < OAMTrafficCounters::DURATION_BOUNDS.size() ? OAMTrafficCounters::DURATION_BOUNDS[ui]
                                                                               : std::numeric_limits<double>::infinity();
        histogram.histogram.bucket.push_back({ulCumulative, dBound});
    }
    histogram.histogram.sample_count = ulCumulative;
    histogram.histogram.sample_sum = in_traffic.dDurationSumSeconds;
    duration.metric.push_back(std::move(histogram));
    add(std::move(duration), io_vFamilies);

    MetricFamily reads = family("linkhaven_oam_om_reads_total", "OM reads by result", MetricType::Counter);
    reads.metric.push_back(sample(in_traffic.ulOMReadSuccess, {{"result", "success"}}, MetricType::Counter));
    reads.metric.push_back(sample(in_traffic.ulOMReadFailure, {{"result", "failure"}}, MetricType::Counter));
    add(std::move(reads), io_vFamilies);

    MetricFamily soap = family("linkhaven_oam_soap_requests_total", "Web-service requests by operation and outcome",
                               MetricType::Counter);
    for (std::size_t uiOp = 0; uiOp < OAMTrafficCounters::SOAP_OPERATION_COUNT; ++uiOp) {
        for (std::size_t uiOutcome = 0; uiOutcome < OAMTrafficCounters::REQUEST_OUTCOME_COUNT; ++uiOutcome) {
            const auto op = static_cast<OAMTrafficCounters::SoapOperation>(uiOp);
            const auto outcome = static_cast<OAMTrafficCounters::SoapOutcome>(uiOutcome);
            soap.metric.push_back(sample(in_traffic.aulSoap[uiOp][uiOutcome],
                                         {{"operation", OAMTrafficCounters::soapOperationName(op)},
                                          {"outcome", OAMTrafficCounters::soapOutcomeName(outcome)}},
                                         MetricType::Counter));
        }
    }
    add(std::move(soap), io_vFamilies);
}
} // namespace

void appendSnapshotFamilies(const OAMSnapshot& in_snapshot, std::vector<MetricFamily>& io_vFamilies)
{
    appendOMs(in_snapshot, io_vFamilies);
    appendAlarms(in_snapshot, io_vFamilies);
    appendMemAccounts(in_snapshot, io_vFamilies);
    appendTraffic(in_snapshot.traffic, io_vFamilies);
}
