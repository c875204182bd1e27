#include "oam/om/GetOM_MO.h"

OMReporterTaskImpl::GetOM_MO::GetOM_MO(OMReporterTaskImpl& in_reporter, const char* in_szOMName,
                                       OMObserver* in_pObserver)
    : m_reporter(in_reporter), m_strOMName(in_szOMName ? in_szOMName : ""), m_pObserver(in_pObserver)
{
}

OMReporterTaskImpl::GetOM_MO::~GetOM_MO() = default;

int OMReporterTaskImpl::GetOM_MO::call()
{
    return m_reporter.getOM_i(m_strOMName.c_str(), m_pObserver.release());
}
