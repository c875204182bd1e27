#pragma once
// Storage from the global heap, counted under an account. The caller gives the size back.

#include <cstddef>
#include <string>

#include "host/core/MemAccount.h"

// Called on any thread.
class DefaultStaticMemAllocator
{
  public:
    static void* allocate(std::size_t in_uiSize, const std::string& in_strAccount);
    static void deallocate(void* in_p, std::size_t in_uiSize, const std::string& in_strAccount);

    // The fast forms, for callers that keep their account.
    static void* allocate(std::size_t in_uiSize, MemAccount& io_account);
    static void deallocate(void* in_p, std::size_t in_uiSize, MemAccount& io_account);
};
