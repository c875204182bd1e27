#pragma once
// Counts each web-service request once, by operation and outcome: the dispatcher notes the
// operation it reaches, and the serving loop counts after the serve, from the serve's status
// (answered, answered with a fault, or the connection lost before an answer went out).
//
// Serving thread only: the noted operation belongs to the thread, as the serve does.

#include "oam/manager/OAMTrafficCounters.h"

void noteSoapOperation(OAMTrafficCounters::SoapOperation in_operation);
// Counts the operation noted since the last count ("other" when none was), and forgets it.
void countSoapRequest(OAMTrafficCounters& io_counters, int in_nServeStatus);
