#pragma once
// Storage counted under an account, for callers that do not know the size when they free it:
// each block carries its size in a header in front of it.

#include <cstddef>
#include <string>

// Called on any thread.
class NoSizeMemAllocator
{
  public:
    static void* allocate(std::size_t in_uiSize, const std::string& in_strAccount);
    static void deallocate(void* in_p, const std::string& in_strAccount);
};
