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

// Counts one span's channels in one state, on the reporter's thread.
class ChannelStatusReporter::SpanCountOMHandler : public OMReporterTaskImpl::OMHandler
{
  public:
    SpanCountOMHandler(PstnChannelComponent& io_channels, unsigned in_uiSpan, ChannelTable::ChannelState in_state)
        : m_channels(io_channels), m_uiSpan(in_uiSpan), m_state(in_state)
    {
    }

    bool getOMValue(const char*, ParameterValue& out_value) override
    {
        unsigned uiCount = 0;
        if (!m_channels.countChannels(m_uiSpan, m_state, uiCount, PstnChannelComponent::REQUEST_TIMEOUT))
            return false;
        out_value.setInteger(uiCount);
        return true;
    }

  private:
    PstnChannelComponent& m_channels;
    const unsigned m_uiSpan;
    const ChannelTable::ChannelState m_state;
};

ChannelStatusReporter::ChannelStatusReporter(PstnChannelComponent& io_channels, unsigned in_uiSpanCount)
{
    setTaskName("ChannelStatusReporter");
    m_OMHash[CHANNEL_STATUS_OM] = OMHandlerPtr(new StatusOMHandler(io_channels));
    m_vOMs.push_back({CHANNEL_STATUS_OM, OMDescription::TEXT, "The channels of each span counted by state"});
    const struct
    {
        ChannelTable::ChannelState state;
        const char* szSuffix;
        const char* szHelp;
    } counts[] = {{ChannelTable::IN_SERVICE, "channelsInService", "in service"},
                  {ChannelTable::QUIESCED, "channelsQuiesced", "quiesced"},
                  {ChannelTable::OUT_OF_SERVICE, "channelsOutOfService", "out of service"}};
    for (unsigned uiSpan = 1; uiSpan <= in_uiSpanCount; ++uiSpan) {
        for (const auto& count : counts) {
            const std::string strName = "linkhaven.om.pstn." + ChannelTable::spanName(uiSpan) + "." + count.szSuffix;
            m_OMHash[strName] = OMHandlerPtr(new SpanCountOMHandler(io_channels, uiSpan, count.state));
            m_vOMs.push_back({strName, OMDescription::NUMERIC,
                              "The channels of " + ChannelTable::spanName(uiSpan) + " " + count.szHelp});
        }
    }
}

void ChannelStatusReporter::describeOMs(std::vector<OMDescription>& io_vOMs) const
{
    io_vOMs.insert(io_vOMs.end(), m_vOMs.begin(), m_vOMs.end());
}

ChannelStatusReporter::~ChannelStatusReporter() { endThreadForDestruction(); }

bool ChannelStatusReporter::getOM(const char* in_szOMName, OMObserver* in_pObserver)
{
    return enqueue(new GetOM_MO(*this, in_szOMName, in_pObserver), "ChannelStatusReporter::getOM");
}
