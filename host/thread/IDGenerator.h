#pragma once
// Hands out identifiers and takes them back for reuse.

#include <cstdint>

class IDGenerator
{
  public:
    virtual ~IDGenerator() = default;
    virtual std::uint64_t getID() = 0;
    virtual void takeBack(std::uint64_t in_ulId) = 0;
};
