#pragma once
// Optional beside OAMCmdExecuter: an executer that also implements this names those of its
// commands that change nothing, so that users who may only read can run them. Any thread: the
// list is fixed before the executer starts.

#include <string>
#include <vector>

class ReadOnlyCommands
{
  public:
    virtual ~ReadOnlyCommands() = default;
    // Appends the names, as a command calls them.
    virtual void listReadOnlyCommands(std::vector<std::string>& io_vNames) const = 0;
};
