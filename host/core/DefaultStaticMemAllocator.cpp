#include "host/core/DefaultStaticMemAllocator.h"

#include <new>

#include "host/core/StaticAccountMemAllocator.h"

void* DefaultStaticMemAllocator::allocate(std::size_t in_uiSize, const std::string& in_strAccount)
{
    return allocate(in_uiSize, StaticAccountMemAllocator::getAccount(in_strAccount));
}

void DefaultStaticMemAllocator::deallocate(void* in_p, std::size_t in_uiSize, const std::string& in_strAccount)
{
    deallocate(in_p, in_uiSize, StaticAccountMemAllocator::getAccount(in_strAccount));
}

void* DefaultStaticMemAllocator::allocate(std::size_t in_uiSize, MemAccount& io_account)
{
    void* p = ::operator new(in_uiSize);
    io_account.countAllocation(in_uiSize);
    return p;
}

void DefaultStaticMemAllocator::deallocate(void* in_p, std::size_t in_uiSize, MemAccount& io_account)
{
    if (in_p == nullptr)
        return;
    io_account.countDeallocation(in_uiSize);
    ::operator delete(in_p);
}
