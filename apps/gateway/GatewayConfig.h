#pragma once
// The gateway's command line, and the process-wide configuration that it loads: the embedded
// default, then each --config file, then each --set assignment, whatever their order on the line.
// Every name must be one the gateway knows (defined in the parameter database, or given a value by
// the embedded default), so that a misspelt name is an error rather than a setting nobody reads.
//
// Host thread, before anything reads the configuration.

#include <optional>
#include <ostream>
#include <string>

class GatewayConfig
{
  public:
    // The gateway's own parameters, defined in the parameter database by load().
    static constexpr const char* SPAN_COUNT_KEY = "linkhaven.gw.pstn.spanCount";
    static constexpr const char* CHANNELS_PER_SPAN_KEY = "linkhaven.gw.pstn.channelsPerSpan";
    static constexpr const char* CALL_LOG_FILE_KEY = "linkhaven.gw.callLogFile";

    // The exit status when the program is to end at once: 0 after --help or --version (the usage
    // or the version on out), 2 after a bad option or value (one line on err). Nothing when the
    // configuration is loaded and the gateway may run.
    std::optional<int> load(int in_nArgc, const char* const* in_pArgv, std::ostream& io_out, std::ostream& io_err);

    // Empty when none was given: logging then goes to the console at info level.
    const std::string& getLogConfigPath() const { return m_strLogConfigPath; }

  private:
    // The text of --help or --version, when one was given, is left in out_strText.
    bool load(int in_nArgc, const char* const* in_pArgv, std::string& out_strText, std::string& out_strError);

    std::string m_strLogConfigPath;
};
