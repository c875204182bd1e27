#pragma once
// What the pools of per-request objects (TaskObjectPool<T>) share whatever their T.

#include "host/core/Logger.h"

class TaskObjectPoolNoT
{
  public:
    virtual ~TaskObjectPoolNoT() = default;
    // The pools' logger, "linkhaven.thread.TaskObjectPool", for the life of the process.
    static const Logger& getLogger();
};
