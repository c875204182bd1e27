#pragma once
// The root of the host's classes: whatever is deleted through a base pointer derives from it.

class Object
{
  public:
    virtual ~Object() = default;
};
