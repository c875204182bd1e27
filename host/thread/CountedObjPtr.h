#pragma once
// A counted handle: a pointer and a separately allocated count; the last handle deletes the
// object. With ReferenceCount the handles of one object stay on one thread; with
// TSReferenceCount they may be copied and dropped on any thread. A single handle object is
// never shared between threads.

#include <utility>

#include "host/thread/ReferenceCount.h"

template <class T>
struct DeleteCountedObjDeleter
{
    void operator()(T* in_pObject) const { delete in_pObject; }
};

template <class T, class Count = ReferenceCount, class Deleter = DeleteCountedObjDeleter<T>>
class CountedObjPtr
{
  public:
    CountedObjPtr() = default;
    // Takes the object; null makes a null handle.
    explicit CountedObjPtr(T* in_pObject) : m_pObject(in_pObject), m_pCount(in_pObject ? new Count : nullptr) {}

    CountedObjPtr(const CountedObjPtr& in_other) : m_pObject(in_other.m_pObject), m_pCount(in_other.m_pCount)
    {
        if (m_pCount)
            m_pCount->increment();
    }
    CountedObjPtr(CountedObjPtr&& io_other) noexcept
        : m_pObject(std::exchange(io_other.m_pObject, nullptr)), m_pCount(std::exchange(io_other.m_pCount, nullptr))
    {
    }
    // From a handle on a derived class: the count is shared, so either handle may be the last.
    template <class U, class OtherDeleter>
    CountedObjPtr(const CountedObjPtr<U, Count, OtherDeleter>& in_other)
        : m_pObject(in_other.m_pObject), m_pCount(in_other.m_pCount)
    {
        if (m_pCount)
            m_pCount->increment();
    }

    CountedObjPtr& operator=(CountedObjPtr in_other) noexcept
    {
        std::swap(m_pObject, in_other.m_pObject);
        std::swap(m_pCount, in_other.m_pCount);
        return *this;
    }

    ~CountedObjPtr() { reset(); }

    // Lets this handle go; it becomes null before the object may be deleted, so that the
    // object's destructor never sees a handle on itself.
    void reset()
    {
        T* const pObject = std::exchange(m_pObject, nullptr);
        Count* const pCount = std::exchange(m_pCount, nullptr);
        if (pCount && pCount->decrement() == 0) {
            Deleter()(pObject);
            delete pCount;
        }
    }

    bool isNull() const { return m_pObject == nullptr; }
    // True when this is the only handle on its object.
    bool unique() const { return m_pCount && m_pCount->get() == 1; }
    T* get() const { return m_pObject; }
    T* operator->() const { return m_pObject; }
    T& operator*() const { return *m_pObject; }

  private:
    template <class U, class C, class D>
    friend class CountedObjPtr;

    T* m_pObject = nullptr;
    Count* m_pCount = nullptr;
};
