#pragma once
// The answer to one blocking OM read: the value, or invalid when no reporter could give it. Set at
// most once, on the manager's thread; read with a deadline on the caller's.

#include <ace/Future.h>

#include "host/core/Fallible.h"
#include "host/core/ParameterValue.h"

using OMFuture = ACE_Future<Fallible<ParameterValue>>;
