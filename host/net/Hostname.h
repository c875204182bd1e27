#pragma once

#include <string>

// The machine's host name as the system reports it; false, and out_strName untouched, when
// the system has none to give. Called on any thread.
bool getHostname(std::string& out_strName);
