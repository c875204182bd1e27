#pragma once
// An observer that counts what it is told and when it is deleted; the tally outlives it.

#include <atomic>

#include "oam/command/OAMCmdExecObserver.h"
#include "tests/host/thread/CountDownLatch.h"

class CountingObserver : public OAMCmdExecObserver
{
  public:
    // Written on the task thread; read once the test has met that thread (a flush or a latch).
    struct Tally
    {
        std::atomic<int> nSuccess{0}, nFailure{0}, nDeleted{0};
        SoapOAM__OAMCommandExecResult lastResult;
        StringVector vLastSupported;
    };

    explicit CountingObserver(Tally& io_tally, CountDownLatch* in_pDeleted = nullptr) : m_tally(io_tally), m_pDeleted(in_pDeleted) {}
    ~CountingObserver() override
    {
        ++m_tally.nDeleted;
        if (m_pDeleted)
            m_pDeleted->countDown();
    }
    bool executeCommandSuccess(const SoapOAM__OAMCommandExecResult& in_result) override
    {
        m_tally.lastResult = in_result;
        ++m_tally.nSuccess;
        return true;
    }
    bool executeCommandFailure(const StringVector& in_vSupported) override
    {
        m_tally.vLastSupported = in_vSupported;
        ++m_tally.nFailure;
        return true;
    }

  private:
    Tally& m_tally;
    CountDownLatch* m_pDeleted;
};
