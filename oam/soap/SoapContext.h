#pragma once
// A SOAP runtime context that goes with its scope, and everything the runtime allocated in it.
// One per call or connection, so that threads never share one.

#include <stdsoap2.h>

class SoapContext
{
  public:
    SoapContext() : m_pSoap(soap_new()) {}
    ~SoapContext()
    {
        soap_destroy(m_pSoap);
        soap_end(m_pSoap);
        soap_free(m_pSoap);
    }
    SoapContext(const SoapContext&) = delete;
    SoapContext& operator=(const SoapContext&) = delete;

    struct soap* get() const { return m_pSoap; }

  private:
    struct soap* const m_pSoap;
};
