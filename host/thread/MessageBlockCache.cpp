#include "host/thread/MessageBlockCache.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <ace/Message_Block.h>

namespace {
constexpr std::size_t BLOCK_BYTES = std::max(sizeof(ACE_Message_Block), sizeof(ACE_Data_Block));
} // namespace

MessageBlockCache::~MessageBlockCache()
{
    while (FreeBlock* pBlock = m_pFreeBlocks) {
        m_pFreeBlocks = pBlock->pNext;
        ::operator delete(pBlock);
    }
}

void* MessageBlockCache::malloc(std::size_t in_uiBytes)
{
    if (in_uiBytes > BLOCK_BYTES)
        return nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (FreeBlock* pBlock = m_pFreeBlocks) {
            m_pFreeBlocks = pBlock->pNext;
            return pBlock;
        }
    }
    return ::operator new(BLOCK_BYTES, std::nothrow);
}

void* MessageBlockCache::calloc(std::size_t in_uiBytes, char in_cInitialValue)
{
    void* const pBlock = malloc(in_uiBytes);
    if (pBlock)
        std::memset(pBlock, in_cInitialValue, in_uiBytes);
    return pBlock;
}

void* MessageBlockCache::calloc(std::size_t in_uiElements, std::size_t in_uiElementBytes, char in_cInitialValue)
{
    if (in_uiElementBytes != 0 && in_uiElements > BLOCK_BYTES / in_uiElementBytes)
        return nullptr;
    return calloc(in_uiElements * in_uiElementBytes, in_cInitialValue);
}

void MessageBlockCache::free(void* in_pBlock)
{
    if (!in_pBlock)
        return;
    FreeBlock* const pBlock = new (in_pBlock) FreeBlock{nullptr};
    std::lock_guard<std::mutex> lock(m_mutex);
    pBlock->pNext = m_pFreeBlocks;
    m_pFreeBlocks = pBlock;
}
