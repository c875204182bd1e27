#pragma once
// The gateway's call log: one line per call record, written to a file while enabled.
// Configured by the host program at start-up; an operator switches it on and off at run time.

#include <string>

// Called on any thread.
class CallLogger
{
  public:
    // Opens the file for appending and enables the log; false when it cannot be opened, and the
    // call logger is then not configured.
    static bool configure(const std::string& in_strPath);
    // Closes the file; the call logger is no longer configured.
    static void close();

    static bool isConfigured();
    static bool isEnabled();
    // Disabling closes the file, so that it can be moved away; enabling opens it again.
    // False when no call logger is configured, or the file cannot be opened again.
    static bool setMode(bool in_bEnabled);

    // Writes the record as one line when enabled; false otherwise or when the write failed.
    static bool logCall(const std::string& in_strRecord);
};
