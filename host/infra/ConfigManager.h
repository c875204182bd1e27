#pragma once
// Something that the host hands the gateway configuration before it starts.

#include "host/core/TSHandle.h"
#include "host/infra/ROConfiguration.h"

class ConfigManager
{
  public:
    virtual ~ConfigManager() = default;
    // Before start, on the host's thread.
    virtual bool initialize(const TSHandle<ROConfiguration>& in_hConfig) = 0;
};
