#pragma once
// The administration traffic as counts: commands by name and result with their durations, OM reads
// by result, web-service requests by operation and outcome. Each is counted where it happens.
//
// Called on any thread: the fixed tables are atomics; the table of command names and the duration
// histogram have a lock of their own, so nothing of a task is locked for them.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

class OAMTrafficCounters
{
  public:
    enum SoapOperation
    {
        EXECUTE_COMMAND,
        GET_OM,
        GET_PSTN_CHANNEL_STATUS,
        OTHER_OPERATION,
        SOAP_OPERATION_COUNT
    };
    enum SoapOutcome
    {
        REQUEST_ANSWERED,
        REQUEST_FAULTED,
        REQUEST_DROPPED,
        REQUEST_OUTCOME_COUNT
    };

    // The upper bounds of the duration histogram's buckets, in seconds, beside which +Inf.
    static constexpr std::array<double, 9> DURATION_BOUNDS{0.001, 0.0025, 0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5};
    // Every name not known to a handler is counted under this one, so that no client grows the table.
    static constexpr const char* OTHER_COMMAND = "other";

    struct CommandCount
    {
        std::uint64_t ulSuccess = 0;
        std::uint64_t ulFailure = 0;
    };
    struct Figures
    {
        std::map<std::string, CommandCount> commands;
        // Per bucket, not cumulative; the last one is +Inf.
        std::array<std::uint64_t, DURATION_BOUNDS.size() + 1> aulDurationBuckets{};
        double dDurationSumSeconds = 0.0;
        std::uint64_t ulOMReadSuccess = 0;
        std::uint64_t ulOMReadFailure = 0;
        std::array<std::array<std::uint64_t, REQUEST_OUTCOME_COUNT>, SOAP_OPERATION_COUNT> aulSoap{};
    };

    // A command that no handler answered (in_bAnswered false) keeps its name only when one answered
    // it before.
    void countCommand(const std::string& in_strName, bool in_bAnswered, bool in_bSuccess,
                      std::chrono::steady_clock::duration in_duration);
    void countOMRead(bool in_bSuccess);
    void countSoapRequest(SoapOperation in_operation, SoapOutcome in_outcome);

    Figures read() const;

    static const char* soapOperationName(SoapOperation in_operation);
    static const char* soapOutcomeName(SoapOutcome in_outcome);

  private:
    mutable std::mutex m_mutexCommands;
    std::map<std::string, CommandCount> m_commands;
    std::array<std::uint64_t, DURATION_BOUNDS.size() + 1> m_aulDurationBuckets{};
    double m_dDurationSumSeconds = 0.0;

    std::atomic<std::uint64_t> m_ulOMReadSuccess{0};
    std::atomic<std::uint64_t> m_ulOMReadFailure{0};
    std::array<std::array<std::atomic<std::uint64_t>, REQUEST_OUTCOME_COUNT>, SOAP_OPERATION_COUNT> m_aulSoap{};
};
