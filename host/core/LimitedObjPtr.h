#pragma once
// A pointer that does not own what it points to: the owner's rules say how long it stays valid.

template <class T>
class LimitedObjPtr
{
  public:
    LimitedObjPtr() = default;
    explicit LimitedObjPtr(T* in_p) : m_p(in_p) {}

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    bool isNull() const { return m_p == nullptr; }

  private:
    T* m_p = nullptr;
};
