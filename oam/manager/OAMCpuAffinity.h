#pragma once
// Where the module's own threads run: on the CPUs of "linkhaven.oam.cpuAffinity" (absent or empty:
// wherever the system puts them). The manager's thread and the web service's threads share them, so
// that a request's hop from one to the other and back can stay on one CPU instead of waking another.
// Called on the thread to confine; a list that cannot be used leaves it where it was, with a warning.

class Logger;
class ROConfiguration;

void confineToOAMCpus(const ROConfiguration& in_config, const Logger& in_logger, const char* in_szThreads);
