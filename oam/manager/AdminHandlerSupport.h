#pragma once
// What the manager's built-in administration handlers share. Task thread only, like the handlers.

#include <cstdint>
#include <string>

#include "host/core/AceCleanupLogger.h"
#include "host/core/Logger.h"
#include "oam/command/OAMCommand.h"
#include "oam/soap/SoapOAMRecords.h"

namespace AdminHandlerSupport {

// "linkhaven.oam.manager", the manager's own logger; it lives as long as the process.
inline const Logger& managerLogger()
{
    return AceCleanupLogger::get("linkhaven.oam.manager");
}

// The index is below the command's getNumArg().
inline std::string argument(const OAMCommand& in_cmd, std::uint64_t in_index)
{
    return in_cmd.getArg(in_index);
}

} // namespace AdminHandlerSupport
