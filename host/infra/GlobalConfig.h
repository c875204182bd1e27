#pragma once
// The process-wide configuration, bound to the process-wide parameter database. This handle
// reads it and switches the run mode; RWGlobalConfig's handle writes it.

#include "host/core/TSHandle.h"
#include "host/infra/ROConfiguration.h"
#include "host/infra/RunMode.h"

// Called on any thread.
class GlobalConfig : public ROConfiguration
{
  public:
    static TSHandle<GlobalConfig> getInstance();

    // Puts the mode's logging in force: when "linkhaven.log.config.<mode name>" names a log4cplus
    // properties file, the logging configuration is reset and read from it, which drops every
    // appender attached so far (their owners attach them again). Without that parameter, or with
    // it empty, the logging stays as it is. False for NO_RUN_MODE or a file that cannot be read.
    // The mode itself is the text of "linkhaven.run.mode", which the caller sets.
    bool setRunMode(RunMode in_mode);

  protected:
    GlobalConfig();
};
