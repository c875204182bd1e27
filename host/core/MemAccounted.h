#pragma once
// Makes a class take its storage from the accounted allocator, under the account its own
// static member names:
//     class ExecCmd_MO : public ACE_Method_Request, public MemAccounted<ExecCmd_MO>
//     {
//       public:
//         static constexpr const char* MEM_ACCOUNT_NAME = "ExecCmd_MO";
//     };
// The account is looked up once per class; each new and delete then costs a few atomic adds.
// A class derived from an accounted one is counted, with its own size, under the base's account.
// Arrays are counted too; placement new stays available, and counts nothing.

#include <cstddef>

#include "host/core/DefaultStaticMemAllocator.h"
#include "host/core/StaticAccountMemAllocator.h"

template <class T>
class MemAccounted
{
  public:
    static const char* getMemAccountName() { return T::MEM_ACCOUNT_NAME; }

    static void* operator new(std::size_t in_uiSize) { return DefaultStaticMemAllocator::allocate(in_uiSize, account()); }
    // The sized form: a virtual destructor hands over the size of the object really deleted.
    static void operator delete(void* in_p, std::size_t in_uiSize)
    {
        DefaultStaticMemAllocator::deallocate(in_p, in_uiSize, account());
    }

    static void* operator new[](std::size_t in_uiSize)
    {
        return DefaultStaticMemAllocator::allocate(in_uiSize, account());
    }
    static void operator delete[](void* in_p, std::size_t in_uiSize)
    {
        DefaultStaticMemAllocator::deallocate(in_p, in_uiSize, account());
    }

    static void* operator new(std::size_t, void* in_pPlace) noexcept { return in_pPlace; }
    static void operator delete(void*, void*) noexcept {}

  private:
    static MemAccount& account()
    {
        static MemAccount& s_account = StaticAccountMemAllocator::getAccount(T::MEM_ACCOUNT_NAME);
        return s_account;
    }
};
