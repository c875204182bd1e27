#pragma once
// Reports the OM "linkhaven.om.pstn.gwNetIf.VSMChannelStatus", the string the web service gives
// for the PSTN channel status: one line per span with its channels counted by state. Registered
// with the OAM manager as an OM reporter.
//
// Host thread before start: construction. Any thread: getOM. Requests run on its thread.

#include "host/thread/StaticReactorTaskImpl.h"
#include "oam/om/OMReporterTaskImpl.h"

class PstnChannelComponent;

class ChannelStatusReporter : public StaticReactorTaskImpl, public OMReporterTaskImpl
{
  public:
    static constexpr const char* CHANNEL_STATUS_OM = "linkhaven.om.pstn.gwNetIf.VSMChannelStatus";

    // The component must outlive this reporter's thread.
    explicit ChannelStatusReporter(PstnChannelComponent& io_channels);
    ~ChannelStatusReporter() override;

    // Queues the request with the tag "ChannelStatusReporter::getOM".
    bool getOM(const char* in_szOMName, OMObserver* in_pObserver) override;

  private:
    class StatusOMHandler;
};
