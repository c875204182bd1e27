#pragma once
// Hears of each value set in a configuration that it observes (ROConfiguration::addObserver).

#include <string>

#include "host/core/ParameterValue.h"

class ConfigurationObserver
{
  public:
    virtual ~ConfigurationObserver() = default;
    // Called on the thread that set the value, with the configuration's observer lock held: it must
    // not add or remove observers of that configuration. The value is the one now in force.
    virtual void notifyParamValueChange(const std::string& in_strName, const ParameterValue& in_value) = 0;
};
