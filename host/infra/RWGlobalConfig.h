#pragma once
// The writing handle on the process-wide configuration; the host program loads it at start-up.

#include "host/infra/GlobalConfig.h"

// Called on any thread.
class RWGlobalConfig : public GlobalConfig
{
  public:
    static TSHandle<RWGlobalConfig> getInstance();

    using ROConfiguration::loadFromArguments;
    using ROConfiguration::loadFromFile;
    using ROConfiguration::setValue;

  private:
    RWGlobalConfig() = default;
};
