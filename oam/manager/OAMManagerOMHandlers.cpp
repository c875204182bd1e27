// The OAM manager's own OMs: the host name, and the alarm colour and its message from the
// manager's alarm-state appender.

#include "oam/manager/OAMManager.h"

#include "host/core/TraceScope.h"
#include "host/net/Hostname.h"
#include "oam/alarm/AlarmStateAppender.h"

namespace {
using AppenderPtr = log4cplus::helpers::SharedObjectPtr<AlarmStateAppender>;

// Looked up once, when the table is filled.
class OAMManagerHostnameOMHandler : public OMReporterTaskImpl::OMHandler
{
  public:
    OAMManagerHostnameOMHandler()
    {
        if (!getHostname(m_strHostname))
            m_strHostname = "???";
    }
    bool getOMValue(const char*, ParameterValue& out_value) override
    {
        out_value = m_strHostname;
        return true;
    }

  private:
    std::string m_strHostname;
};

// The appender's snapshot is read under its lock, so state and message never mix two events.
class OAMManagerAlarmStateOMHandler : public OMReporterTaskImpl::OMHandler
{
  public:
    explicit OAMManagerAlarmStateOMHandler(const AppenderPtr& in_pAppender) : m_pAppender(in_pAppender) {}
    bool getOMValue(const char*, ParameterValue& out_value) override
    {
        out_value = AlarmStateAppender::alarmStateString(m_pAppender->getAlarmSnapshot().state);
        return true;
    }

  private:
    const AppenderPtr m_pAppender;
};

// The message of the event that raised the colour to its present level; empty when none did.
class OAMManagerLastAlarmOMHandler : public OMReporterTaskImpl::OMHandler
{
  public:
    explicit OAMManagerLastAlarmOMHandler(const AppenderPtr& in_pAppender) : m_pAppender(in_pAppender) {}
    bool getOMValue(const char*, ParameterValue& out_value) override
    {
        out_value = m_pAppender->getAlarmSnapshot().strMessage;
        return true;
    }

  private:
    const AppenderPtr m_pAppender;
};
} // namespace

void OAMManager::populateOMHash()
{
    TraceScope trace(m_logger, "OAMManager::populateOMHash");
    m_OMHash.clear();
    m_OMHash["linkhaven.om.OAMManager.hostname"] = OMHandlerPtr(new OAMManagerHostnameOMHandler());
    m_vOwnOMDescriptions = {{"linkhaven.om.OAMManager.hostname", OMDescription::TEXT, "The host's name"}};
    const AppenderPtr pAppender = alarmStateAppender();
    if (!pAppender)
        return;
    m_OMHash["linkhaven.om.OAMManager.alarmState"] = OMHandlerPtr(new OAMManagerAlarmStateOMHandler(pAppender));
    m_OMHash["linkhaven.om.OAMManager.lastAlarm"] = OMHandlerPtr(new OAMManagerLastAlarmOMHandler(pAppender));
    m_vOwnOMDescriptions.push_back(
        {"linkhaven.om.OAMManager.alarmState", OMDescription::TEXT, "The alarm colour: GREEN, YELLOW, ORANGE or RED"});
    m_vOwnOMDescriptions.push_back(
        {"linkhaven.om.OAMManager.lastAlarm", OMDescription::TEXT, "The message that raised the alarm colour"});
}
