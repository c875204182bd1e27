#include "oam/command/SynchCallFailure.h"

namespace {
thread_local SynchCallFailure t_lastFailure = SynchCallFailure::NO_ANSWER;
}

void noteSynchCallFailure(SynchCallFailure in_failure) { t_lastFailure = in_failure; }

SynchCallFailure lastSynchCallFailure() { return t_lastFailure; }
