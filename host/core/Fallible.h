#pragma once
// A value together with a validity flag. Reading an invalid one reports the assertion "valid()"
// and gives the default value.

#include <utility>

#include "host/core/Assertion.h"

template <class T>
class Fallible
{
  public:
    Fallible() = default;
    Fallible(const T& in_value) : m_value(in_value), m_bValid(true) {}
    Fallible(T&& in_value) : m_value(std::move(in_value)), m_bValid(true) {}

    bool valid() const { return m_bValid; }
    void invalidate()
    {
        m_value = T();
        m_bValid = false;
    }

    const T& value() const
    {
        Assertion(m_bValid, "valid()", __FILE__, __LINE__);
        return m_value;
    }
    operator const T&() const { return value(); }

  private:
    T m_value = T();
    bool m_bValid = false;
};
