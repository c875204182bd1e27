#pragma once
// Turns the outcome of a command into the value of a future that a synchronous caller waits on.
// Told on the executer's thread; the future's shared state lives until its last holder lets go,
// so an answer that comes after the caller gave up is stored and dropped unread. Deleted untold,
// when its request is dropped unrun, it wakes the caller with the news that no answer will come,
// which would otherwise wait for ever without a time-out.

#include <atomic>
#include <memory>

#include "host/core/MemAccounted.h"
#include "host/thread/OneShotFuture.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"

class OAMCmdExecuterTaskImpl::FutureCmdExecObserver : public OAMCmdExecObserver,
                                                      public MemAccounted<FutureCmdExecObserver>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "FutureCmdExecObserver";
    using ResultFuture = OneShotFuture<SoapOAM__OAMCommandExecResult>;

    // Set before the future, which is then set to false and "Error", as if no answer had come,
    // should a caller not see the flag.
    using DroppedFlag = std::shared_ptr<std::atomic<bool>>;

    FutureCmdExecObserver(const ResultFuture& in_future, const DroppedFlag& in_pDropped)
        : m_future(in_future), m_pDropped(in_pDropped)
    {
    }
    ~FutureCmdExecObserver() override;

    bool executeCommandSuccess(const SoapOAM__OAMCommandExecResult& in_result) override;
    // "Command not supported. Supported commands :" and one line per name, in the given order.
    bool executeCommandFailure(const StringVector& in_supportedCommands) override;

  private:
    ResultFuture m_future;
    DroppedFlag m_pDropped;
    bool m_bTold = false;
};
