#include "oam/manager/OAMTrafficCounters.h"

#include <algorithm>

void OAMTrafficCounters::countCommand(const std::string& in_strName, bool in_bAnswered, bool in_bSuccess,
                                      std::chrono::steady_clock::duration in_duration)
{
    const double dSeconds = std::chrono::duration<double>(in_duration).count();
    const auto bucket = std::lower_bound(DURATION_BOUNDS.begin(), DURATION_BOUNDS.end(), dSeconds);
    std::lock_guard<std::mutex> lock(m_mutexCommands);
    const bool bKnown = in_bAnswered || m_commands.count(in_strName) != 0;
    CommandCount& count = m_commands[bKnown ? in_strName : OTHER_COMMAND];
    ++(in_bSuccess ? count.ulSuccess : count.ulFailure);
    ++m_aulDurationBuckets[bucket - DURATION_BOUNDS.begin()];
    m_dDurationSumSeconds += dSeconds;
}

void OAMTrafficCounters::countOMRead(bool in_bSuccess)
{
    (in_bSuccess ? m_ulOMReadSuccess : m_ulOMReadFailure).fetch_add(1, std::memory_order_relaxed);
}

void OAMTrafficCounters::countSoapRequest(SoapOperation in_operation, SoapOutcome in_outcome)
{
    m_aulSoap[in_operation][in_outcome].fetch_add(1, std::memory_order_relaxed);
}

OAMTrafficCounters::Figures OAMTrafficCounters::read() const
{
    Figures figures;
    {
        std::lock_guard<std::mutex> lock(m_mutexCommands);
        figures.commands = m_commands;
        figures.aulDurationBuckets = m_aulDurationBuckets;
        figures.dDurationSumSeconds = m_dDurationSumSeconds;
    }
    figures.ulOMReadSuccess = m_ulOMReadSuccess.load(std::memory_order_relaxed);
    figures.ulOMReadFailure = m_ulOMReadFailure.load(std::memory_order_relaxed);
    for (std::size_t uiOp = 0; uiOp < SOAP_OPERATION_COUNT; ++uiOp)
        for (std::size_t uiOutcome = 0; uiOutcome < REQUEST_OUTCOME_COUNT; ++uiOutcome)
            figures.aulSoap[uiOp][uiOutcome] = m_aulSoap[uiOp][uiOutcome].load(std::memory_order_relaxed);
    return figures;
}

const char* OAMTrafficCounters::soapOperationName(SoapOperation in_operation)
{
    switch (in_operation) {
    case EXECUTE_COMMAND:
        return "executeCommand";
    case GET_OM:
        return "getOM";
    case GET_PSTN_CHANNEL_STATUS:
        return "getPSTNChannelStatus";
    default:
        return "other";
    }
}

const char* OAMTrafficCounters::soapOutcomeName(SoapOutcome in_outcome)
{
    switch (in_outcome) {
    case REQUEST_ANSWERED:
        return "success";
    case REQUEST_FAULTED:
        return "fault";
    default:
        return "dropped";
    }
}
