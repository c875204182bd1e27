#include "apps/gateway/ChannelStatusReporter.h"

#include "apps/gateway/PstnChannelComponent.h"
#include "oam/om/GetOM_MO.h"

// Asks the PSTN channel component, on the reporter's thread.
class ChannelStatusReporter::StatusOMHandler : public OMReporterTaskImpl::OMHandler
{
  public:
    explicit StatusOMHandler(PstnChannelComponent& io_channels) : m_channels(io_channels) {}

    bool getOMValue(const char*, ParameterValue& out_value) override
    {
        std::string strStatus;
        if (!m_channels.getStatus(strStatus, PstnChannelComponent::REQUEST_TIMEOUT))
            return false;
        out_value = strStatus;
        return true;
    }

  private:
    PstnChannelComponent& m_channels;
};

ChannelStatusReporter::ChannelStatusReporter(PstnChannelComponent& io_channels)
{
    setTaskName("ChannelStatusReporter");
    m_OMHash[CHANNEL_STATUS_OM] = OMHandlerPtr(new StatusOMHandler(io_channels));
}

ChannelStatusReporter::~ChannelStatusReporter() { endThreadForDestruction(); }

bool ChannelStatusReporter::getOM(const char* in_szOMName, OMObserver* in_pObserver)
{
    return enqueue(new GetOM_MO(*this, in_szOMName, in_pObserver), "ChannelStatusReporter::getOM");
}
