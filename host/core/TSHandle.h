#pragma once
// A counted handle whose count is safe to share between threads; the last handle deletes the
// object. Whether the object itself may be used from several threads is the object's business.

#include <memory>
#include <utility>

template <class T>
class TSHandle
{
  public:
    TSHandle() = default;
    explicit TSHandle(std::shared_ptr<T> in_pObject) : m_pObject(std::move(in_pObject)) {}
    template <class U>
    TSHandle(const TSHandle<U>& in_other) : m_pObject(in_other.getShared())
    {
    }

    template <class... Args>
    static TSHandle make(Args&&... in_args)
    {
        return TSHandle(std::make_shared<T>(std::forward<Args>(in_args)...));
    }

    bool isNull() const { return !m_pObject; }
    T* get() const { return m_pObject.get(); }
    T* operator->() const { return m_pObject.get(); }
    T& operator*() const { return *m_pObject; }
    const std::shared_ptr<T>& getShared() const { return m_pObject; }

  private:
    std::shared_ptr<T> m_pObject;
};
