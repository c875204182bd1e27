#pragma once
// Receives the outcome of one command. Whoever is handed an observer owns it from then on, tells
// it at most once, and deletes it.

#include "host/core/StringVector.h"
#include "host/thread/Object.h"
#include "oam/soap/SoapOAMRecords.h"

class OAMCmdExecObserver : public virtual Object
{
  public:
    // Some handler executed the command; the record's m_bExecSuccess says how that went.
    virtual bool executeCommandSuccess(const SoapOAM__OAMCommandExecResult& in_result) = 0;
    // Nobody supports the command; these are the commands that are supported.
    virtual bool executeCommandFailure(const StringVector& in_supportedCommands) = 0;
};
