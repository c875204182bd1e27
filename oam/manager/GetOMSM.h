#pragma once
// The bookkeeping of one OM request that the OAM manager passes on to its reporters. Asking them
// all, the first success completes the caller's future, the reporter that succeeded last is
// remembered for the name, and the result is invalid once every one has failed. Asking the one
// remembered, its answer is final. Once no answer can come any more (every proxy gone, or the
// machine destroyed) an outcome still owed is invalid, so that no caller waits for ever.
// The manager's thread only; reused through its pool.

#include <cstdint>
#include <string>

#include "host/core/CachedLLLogger.h"
#include "host/core/MemAccounted.h"
#include "host/core/ParameterValue.h"
#include "host/thread/Deadline.h"
#include "host/thread/Object.h"
#include "oam/manager/OMFuture.h"

class OAMManager;

class GetOMSM : public CachedLLLoggingIdLogger, public virtual Object, public MemAccounted<GetOMSM>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "GetOMSM";

    GetOMSM();
    ~GetOMSM() override;

    // Arms the machine for one request: every field is set anew.
    void start(OAMManager* in_pManager, const char* in_szOMName, const OMFuture& in_future, bool in_bQueryAllReporters,
               const Deadline& in_callerDeadline);
    // The caller has stopped waiting: nobody wants an outcome or a late answer any more.
    bool callerHasGone(std::chrono::steady_clock::time_point in_now) const;

    bool getOMSuccess(const char* in_szOMName, const ParameterValue& in_value, std::uint64_t in_uiReporterIndex);
    bool getOMFailure(const char* in_szOMName, std::uint64_t in_uiReporterIndex);

    // No observer proxy holds the machine any more: a reporter refused or dropped the request.
    void proxiesGone();

  private:
    // The checks that catch an answer meant for an earlier use of this machine.
    bool answerMatches(const char* in_szOMName, std::uint64_t in_uiReporterIndex) const;
    std::uint64_t numReporters() const;
    void setFinalResult(const Fallible<ParameterValue>& in_result);

    OAMManager* m_pOamManager = nullptr;
    std::string m_strOMName;
    OMFuture m_futureOM;
    bool m_bQueryAllReporters = false;
    bool m_bFinalState = false;
    std::uint64_t m_uiNumReporterLeft = 0;
    Deadline m_callerDeadline{ACE_Time_Value::max_time};
};
