#pragma once
// A logger that lives as long as the process, made once per name on first use.

#include <string>

#include "host/core/Logger.h"

class AceCleanupLogger
{
  public:
    // Called on any thread; the same name always gives the same logger object.
    static const Logger& get(const std::string& in_strName);
};
