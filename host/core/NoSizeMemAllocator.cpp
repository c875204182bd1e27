#include "host/core/NoSizeMemAllocator.h"

#include <cstddef>

#include "host/core/DefaultStaticMemAllocator.h"

namespace {
// A whole alignment unit, so that the block behind it is aligned for any type.
constexpr std::size_t HEADER_SIZE = alignof(std::max_align_t);
static_assert(HEADER_SIZE >= sizeof(std::size_t), "the header holds the size");
} // namespace

void* NoSizeMemAllocator::allocate(std::size_t in_uiSize, const std::string& in_strAccount)
{
    char* pBlock = static_cast<char*>(DefaultStaticMemAllocator::allocate(HEADER_SIZE + in_uiSize, in_strAccount));
    *reinterpret_cast<std::size_t*>(pBlock) = in_uiSize;
    return pBlock + HEADER_SIZE;
}

void NoSizeMemAllocator::deallocate(void* in_p, const std::string& in_strAccount)
{
    if (in_p == nullptr)
        return;
    char* pBlock = static_cast<char*>(in_p) - HEADER_SIZE;
    DefaultStaticMemAllocator::deallocate(pBlock, HEADER_SIZE + *reinterpret_cast<std::size_t*>(pBlock),
                                          in_strAccount);
}
