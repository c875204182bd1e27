#pragma once
// The definitions of the gateway's configuration parameters: type, default and description.

#include <map>
#include <shared_mutex>
#include <string>

#include "host/core/StringVector.h"
#include "host/infra/ParameterInfo.h"

// Called on any thread.
class ParameterInfoDB
{
  public:
    // The process-wide database. It starts with the host's own parameters:
    // "linkhaven.run.mode" (string, "production") and "linkhaven.startTimeoutSec" (integer, "30").
    static ParameterInfoDB& getNonConstInstance();
    static const ParameterInfoDB& getInstance() { return getNonConstInstance(); }

    // An empty database, for a configuration of one's own.
    ParameterInfoDB() = default;

    // Throws LinkhavenException for an empty name, a type other than string, integer or
    // floating, a default that is no value of that type, or a name already defined otherwise;
    // the same definition made again is accepted, so a module may be loaded twice.
    void defineParameter(const char* in_szName, ParameterValue::Type in_type, const char* in_szDefault,
                         bool in_bReadOnly, bool in_bMandatory, bool in_bSecret, const char* in_szDescription);

    // False when the name is not defined.
    bool getParameterInfo(const std::string& in_strName, ParameterInfo& out_info) const;
    // Sorted by name.
    StringVector getParameterNames() const;

  private:
    mutable std::shared_mutex m_mutex;
    std::map<std::string, ParameterInfo> m_definitions;
};
