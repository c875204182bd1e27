#pragma once
// An administration request: a command name and an ordered list of string arguments.

#include <cstdint>
#include <ostream>

class OAMCommand
{
  public:
    virtual ~OAMCommand();

    virtual const char* getName() const = 0;
    virtual void setName(const char* in_szName) = 0;
    virtual uint64_t getNumArg() const = 0;
    // The index is not checked: callers pass one below getNumArg().
    virtual const char* getArg(uint64_t in_index) const = 0;
    virtual void pushBackArg(const char* in_szArg) = 0;
    // The one-line log form: the name, then a space and each argument, unquoted, no line end.
    virtual std::ostream& write(std::ostream& io_os) const = 0;
    // A heap copy that the caller owns.
    virtual OAMCommand* clone() const = 0;
};

std::ostream& operator<<(std::ostream& io_os, const OAMCommand& in_cmd);
