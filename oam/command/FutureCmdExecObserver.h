#pragma once
// Turns the outcome of a command into the value of a future that a synchronous caller waits on.
// Told on the executer's thread; the future's shared state lives until its last holder lets go,
// so an answer that comes after the caller gave up is stored and dropped unread. Deleted untold,
// when its request is dropped unrun, it wakes the caller with an invalid answer: the news that no
// answer will come, which would otherwise wait for ever without a time-out.

#include "host/core/Fallible.h"
#include "host/core/MemAccounted.h"
#include "host/thread/OneShotFuture.h"
#include "oam/command/OAMCmdExecuterTaskImpl.h"

class OAMCmdExecuterTaskImpl::FutureCmdExecObserver : public OAMCmdExecObserver,
                                                      public MemAccounted<FutureCmdExecObserver>
{
  public:
    static constexpr const char* MEM_ACCOUNT_NAME = "FutureCmdExecObserver";
    using ResultFuture = OneShotFuture<Fallible<SoapOAM__OAMCommandExecResult>>;

    explicit FutureCmdExecObserver(const ResultFuture& in_future) : m_future(in_future) {}
    ~FutureCmdExecObserver() override;

    bool executeCommandSuccess(const SoapOAM__OAMCommandExecResult& in_result) override;
    // "Command not supported. Supported commands :" and one line per name, in the given order.
    bool executeCommandFailure(const StringVector& in_supportedCommands) override;

  private:
    ResultFuture m_future;
    bool m_bTold = false;
};
