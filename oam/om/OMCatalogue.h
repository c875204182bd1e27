#pragma once
// Optional beside OMReporter: a reporter that also implements this lists the OMs it answers, so
// that the manager can name every OM to whoever asks for all of them. Any thread: the list is
// fixed before the reporter starts.

#include <vector>

#include "oam/om/OMDescription.h"

class OMCatalogue
{
  public:
    virtual ~OMCatalogue() = default;
    // Appends, in the order the reporter chooses.
    virtual void describeOMs(std::vector<OMDescription>& io_vOMs) const = 0;
};
