#pragma once
// One figure of a memory account (by default its allocations), 0 for an account never used.

#include "host/core/StaticAccountMemAllocator.h"

inline uint64_t account(const char* in_szName, uint64_t MemAccountInfo::*in_field = &MemAccountInfo::m_ulAllocations)
{
    MemAccountInfo info;
    return StaticAccountMemAllocator::getMemAccountInfo(in_szName, info) ? info.*in_field : 0;
}
