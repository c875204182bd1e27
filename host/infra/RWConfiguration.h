#pragma once
// A configuration of one's own that its holder may also write: a component's private settings,
// or a test's.

#include "host/infra/ROConfiguration.h"

// Called on any thread.
class RWConfiguration : public ROConfiguration
{
  public:
    using ROConfiguration::ROConfiguration;
    using ROConfiguration::loadFromArguments;
    using ROConfiguration::loadFromFile;
    using ROConfiguration::setValue;
};
