#pragma once
// The exception that the host libraries throw; it writes its text on a stream like any host object.

#include <stdexcept>
#include <string>

#include "host/core/OutputStreamable.h"

class LinkhavenException : public std::runtime_error, public OutputStreamable
{
  public:
    explicit LinkhavenException(const std::string& in_strText) : std::runtime_error(in_strText) {}
    void write(std::ostream& io_stream) const override { io_stream << what(); }
};
