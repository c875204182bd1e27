#include "oam/command/OAMCommand.h"

OAMCommand::~OAMCommand() = default;

std::ostream& operator<<(std::ostream& io_os, const OAMCommand& in_cmd)
{
    return in_cmd.write(io_os);
}
