#pragma once
// Maps proxy identifiers to the per-request objects of a task. Task thread only.

#include <cstdint>

#include "host/thread/CountedObjPtr.h"

class TaskObjectContainerNoT
{
  public:
    virtual ~TaskObjectContainerNoT() = default;
    // Clears a proxy's registration; an identifier never registered is ignored.
    virtual void removeObject(std::uint64_t in_objectID) = 0;
};

template <class T>
class TaskObjectContainer : public TaskObjectContainerNoT
{
  public:
    using ObjPtr = CountedObjPtr<T, ReferenceCount>;

    // Null when nothing is registered under the identifier.
    virtual ObjPtr getObject(std::uint64_t in_objectID) = 0;
    virtual void setObject(std::uint64_t in_objectID, const ObjPtr& in_pObj) = 0;
};
