#include "host/core/TraceScope.h"

TraceScope::TraceScope(const Logger& in_logger, const char* in_szScope) : m_logger(in_logger), m_szScope(in_szScope)
{
    LH_TRACE(m_logger, "ENTER: " << m_szScope);
}

// The level is tested again: it may have changed inside the scope.
TraceScope::~TraceScope() { LH_TRACE(m_logger, "EXIT: " << m_szScope); }
