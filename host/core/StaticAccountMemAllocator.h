#pragma once
// The process-wide table of memory accounts, opened by name on first use.

#include <string>

#include "host/core/MemAccount.h"
#include "host/core/MemAccountInfo.h"

// Called on any thread.
class StaticAccountMemAllocator
{
  public:
    // The account of that name, opened empty on first use; the reference stays valid for ever.
    static MemAccount& getAccount(const std::string& in_strName);

    // False when no storage was ever counted under that name.
    static bool getMemAccountInfo(const std::string& in_strName, MemAccountInfo& out_info);
    // Every account; replaces what the hash held.
    static bool getMemAccountInfo(MemAccountInfoHash& out_hash);
};
