#pragma once
// A host object that writes a printable form of itself.

#include <ostream>

class OutputStreamable
{
  public:
    virtual ~OutputStreamable() = default;
    virtual void write(std::ostream& io_stream) const = 0;
};

inline std::ostream& operator<<(std::ostream& io_stream, const OutputStreamable& in_object)
{
    in_object.write(io_stream);
    return io_stream;
}
