#pragma once
// A set of configuration parameters and their values, readable from any thread.
//
// A configuration may be bound to a database of definitions: a defined parameter then exists
// even without a value, reads give its default when it has no value of its own, values are
// converted to its type when they are set, and the definition's flags are honoured.
// Without a database a configuration holds exactly what was set in it.
//
// The text form writes one "<name>=<value>" line per parameter, sorted by name, separated by
// newlines; a parameter without value has nothing after the "=", a secret one "******".
//
// Start-up sources: a file of "<name>=<value>" lines (blanks around both are dropped; empty
// lines and lines starting with '#' are skipped), and a command line where "--config <file>"
// reads a file and "--set <name>=<value>" sets one value, in the order given; other arguments
// are left to the host program. A value is what its text denotes (a number or a string),
// converted to the parameter's type when it has one.

#include <map>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "host/core/OutputStreamable.h"
#include "host/core/ParameterValue.h"
#include "host/core/StringVector.h"
#include "host/infra/ParameterInfo.h"

class ConfigurationObserver;
class ParameterInfoDB;

// Called on any thread; every read sees each value whole.
class ROConfiguration : public OutputStreamable
{
  public:
    explicit ROConfiguration(const ParameterInfoDB* in_pDefinitions = nullptr);
    ~ROConfiguration() override = default;
    ROConfiguration(const ROConfiguration&) = delete;
    ROConfiguration& operator=(const ROConfiguration&) = delete;

    // Each gives false when the parameter is absent or unreadable as asked; getValue then leaves
    // no value (type 0), the others leave their output alone.
    bool getValue(const std::string& in_strName, ParameterValue& out_value) const;
    bool getInt(const std::string& in_strName, int& out_nValue) const;
    bool getString(const std::string& in_strName, std::string& out_strValue) const;
    // True when the parameter has a value or is defined.
    bool hasParameter(const std::string& in_strName) const;
    StringVector getParameterNames() const; // sorted
    // The mandatory parameters that have neither a value nor a default.
    StringVector getMissingMandatoryParameters() const;

    void write(std::ostream& io_stream) const override;

    // Observers are told of each value taken by setValue; they are not owned. After
    // removeObserver has returned the observer is not told again.
    void addObserver(ConfigurationObserver* in_pObserver);
    void removeObserver(ConfigurationObserver* in_pObserver);

  protected:
    // False when there is no value (type 0), it is no value of the parameter's type, or the parameter is
    // read-only (at run time; start-up loading may set it).
    bool setValue(const std::string& in_strName, const ParameterValue& in_value);
    // False at the first faulty line or argument, with the reason in out_strError; what came
    // before it stays set.
    bool loadFromFile(const std::string& in_strPath, std::string& out_strError);
    // Also false when a mandatory parameter is still missing at the end.
    bool loadFromArguments(int in_nArgc, const char* const* in_pArgv, std::string& out_strError);

  private:
    bool storeValue(const std::string& in_strName, const ParameterValue& in_value, bool in_bAtStartUp);
    bool storeText(const std::string& in_strAssignment, std::string& out_strError);
    bool findDefinition(const std::string& in_strName, ParameterInfo& out_info) const;

    const ParameterInfoDB* const m_pDefinitions;
    mutable std::shared_mutex m_mutex;
    std::map<std::string, ParameterValue> m_values;
    std::mutex m_mutexObservers;
    std::vector<ConfigurationObserver*> m_vpObservers;
};
