#pragma once
// Recycles the blocks in which an activation queue wraps each method object (an ACE_Message_Block
// and its ACE_Data_Block), so that queueing allocates only while the queue grows past its deepest
// so far. Called on any thread: blocks are taken by the queueing threads and given back by the
// task's thread.

#include <cstddef>
#include <mutex>

#include <ace/Malloc_Allocator.h>

class MessageBlockCache : public ACE_New_Allocator
{
  public:
    MessageBlockCache() = default;
    MessageBlockCache(const MessageBlockCache&) = delete;
    MessageBlockCache& operator=(const MessageBlockCache&) = delete;
    // Every block must have come back.
    ~MessageBlockCache() override;

    // Null for anything larger than a block, which the queue then refuses.
    void* malloc(std::size_t in_uiBytes) override;
    void* calloc(std::size_t in_uiBytes, char in_cInitialValue = '\0') override;
    void* calloc(std::size_t in_uiElements, std::size_t in_uiElementBytes, char in_cInitialValue = '\0') override;
    void free(void* in_pBlock) override;

  private:
    struct FreeBlock
    {
        FreeBlock* pNext;
    };

    std::mutex m_mutex;
    FreeBlock* m_pFreeBlocks = nullptr;
};
