#pragma once
// Reports the OM "linkhaven.om.pstn.gwNetIf.VSMChannelStatus", the string the web service gives
// for the PSTN channel status: one line per span with its channels counted by state; and for each
// span the numeric OMs "linkhaven.om.pstn.span<S>.channelsInService", "...channelsQuiesced" and
// "...channelsOutOfService". Registered with the OAM manager as an OM reporter, which lists them.
//
// Host thread before start: construction. Any thread: getOM, describeOMs. Requests run on its
// thread.

#include <vector>

#include "host/thread/StaticReactorTaskImpl.h"
#include "oam/om/OMCatalogue.h"
#include "oam/om/OMReporterTaskImpl.h"

class PstnChannelComponent;

class ChannelStatusReporter : public StaticReactorTaskImpl, public OMReporterTaskImpl, public OMCatalogue
{
  public:
    static constexpr const char* CHANNEL_STATUS_OM = "linkhaven.om.pstn.gwNetIf.VSMChannelStatus";

    // The component must outlive this reporter's thread.
    ChannelStatusReporter(PstnChannelComponent& io_channels, unsigned in_uiSpanCount);
    ~ChannelStatusReporter() override;

    // Queues the request with the tag "ChannelStatusReporter::getOM".
    bool getOM(const char* in_szOMName, OMObserver* in_pObserver) override;
    void describeOMs(std::vector<OMDescription>& io_vOMs) const override;

  private:
    class StatusOMHandler;
    class SpanCountOMHandler;

    // Fixed at construction.
    std::vector<OMDescription> m_vOMs;
};
