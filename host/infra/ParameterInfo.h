#pragma once
// The definition of one configuration parameter.

#include <string>

#include "host/core/ParameterValue.h"

struct ParameterInfo
{
    std::string strName;
    ParameterValue::Type type = ParameterValue::NO_VALUE_TYPE;
    ParameterValue defaultValue; // no value when the parameter has no default
    bool bReadOnly = false;      // taken at start-up only: setValue refuses it later
    bool bMandatory = false;     // a start-up configuration without it, and without a default, is refused
    bool bSecret = false;        // its value is written as "******" in configuration dumps
    std::string strDescription;

    bool operator==(const ParameterInfo& in_other) const
    {
        return strName == in_other.strName && type == in_other.type && defaultValue == in_other.defaultValue &&
               bReadOnly == in_other.bReadOnly && bMandatory == in_other.bMandatory &&
               bSecret == in_other.bSecret && strDescription == in_other.strDescription;
    }
};
