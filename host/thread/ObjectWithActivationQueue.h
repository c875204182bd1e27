#pragma once
// An object that others reach through the queue of the task it lives on.

class ActivationQueue;

class ObjectWithActivationQueue
{
  public:
    virtual ~ObjectWithActivationQueue() = default;
    virtual ActivationQueue* getActivationQueue() = 0;
};
