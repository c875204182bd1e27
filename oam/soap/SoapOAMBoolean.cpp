// The serialiser of xsd:boolean fields. Written as "true" or "false"; read from "true", "false" or
// any integer, where every value but 0 is true.

#include <cstring>

#include "oam/soap/SoapOAMRecords.h"

namespace {
int readBoolean(struct soap* io_pSoap, const char* in_szText, bool* out_pValue)
{
    if (!in_szText)
        return io_pSoap->error;
    if (std::strcmp(in_szText, "true") == 0) {
        *out_pValue = true;
        return SOAP_OK;
    }
    if (std::strcmp(in_szText, "false") == 0) {
        *out_pValue = false;
        return SOAP_OK;
    }
    if (!*in_szText)
        return io_pSoap->error = SOAP_EMPTY;
    // Read as digits rather than converted, so that an integer of any size is still true or false.
    const char* szDigit = in_szText + (*in_szText == '+' || *in_szText == '-');
    if (!*szDigit)
        return io_pSoap->error = SOAP_TYPE;
    bool bNonZero = false;
    for (; *szDigit; ++szDigit) {
        if (*szDigit < '0' || *szDigit > '9')
            return io_pSoap->error = SOAP_TYPE;
        bNonZero = bNonZero || *szDigit != '0';
    }
    *out_pValue = bNonZero;
    return SOAP_OK;
}
} // namespace

void soap_default_xsd__boolean(struct soap*, bool* out_pValue) { *out_pValue = false; }

int soap_out_xsd__boolean(struct soap* io_pSoap, const char* in_szTag, int in_id, const bool* in_pValue,
                          const char* in_szType)
{
    if (soap_element_begin_out(io_pSoap, in_szTag, soap_embedded_id(io_pSoap, in_id, in_pValue, SOAP_TYPE_xsd__boolean),
                               in_szType) ||
        soap_send(io_pSoap, *in_pValue ? "true" : "false"))
        return io_pSoap->error;
    return soap_element_end_out(io_pSoap, in_szTag);
}

bool* soap_in_xsd__boolean(struct soap* io_pSoap, const char* in_szTag, bool* io_pValue, const char* in_szType)
{
    if (soap_element_begin_in(io_pSoap, in_szTag, 0, nullptr))
        return nullptr;
    if (*io_pSoap->type && soap_match_att(io_pSoap, io_pSoap->type, in_szType) &&
        soap_match_att(io_pSoap, io_pSoap->type, ":boolean")) {
        io_pSoap->error = SOAP_TYPE;
        soap_revert(io_pSoap);
        return nullptr;
    }
    io_pValue = static_cast<bool*>(soap_id_enter(io_pSoap, io_pSoap->id, io_pValue, SOAP_TYPE_xsd__boolean, sizeof(bool),
                                                 nullptr, nullptr, nullptr, nullptr));
    if (*io_pSoap->href)
        io_pValue = static_cast<bool*>(soap_id_forward(io_pSoap, io_pSoap->href, io_pValue, 0, SOAP_TYPE_xsd__boolean, 0,
                                                       sizeof(bool), 0, nullptr, nullptr));
    else if (io_pValue && readBoolean(io_pSoap, soap_value(io_pSoap), io_pValue))
        return nullptr;
    if (io_pSoap->body && soap_element_end_in(io_pSoap, in_szTag))
        return nullptr;
    return io_pValue;
}
