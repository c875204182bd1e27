#pragma once
// The answer to one blocking OM read: the value, or invalid when no reporter could give it. Set at
// most once, on the manager's thread; read with a deadline on the caller's.

#include "host/core/Fallible.h"
#include "host/core/ParameterValue.h"
#include "host/thread/OneShotFuture.h"

using OMFuture = OneShotFuture<Fallible<ParameterValue>>;
