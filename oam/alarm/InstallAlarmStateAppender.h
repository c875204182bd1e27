#pragma once
// Attaches the alarm-state appender to the gateway's loggers.

#include <log4cplus/appender.h>

// Attaches the appender (not null) to the loggers "linkhaven" and "admin", each unless it already
// holds an appender bearing the name that this one bears now; so renaming it and installing it
// again attaches nothing twice. Not to be called from two threads at once.
void installAlarmStateAppender(const log4cplus::SharedAppenderPtr& in_pAppender);
