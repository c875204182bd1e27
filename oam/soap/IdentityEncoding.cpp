#include "oam/soap/IdentityEncoding.h"

#include <strings.h>

#include <stdsoap2.h>

namespace {
using HeaderHook = int (*)(struct soap*, const char*, const char*);

// The runtime's own hooks are the same functions for every context: the first context's are kept.
HeaderHook runtimeParseHeader(struct soap* in_pSoap)
{
    static const HeaderHook s_parse = in_pSoap->fparsehdr;
    return s_parse;
}
HeaderHook runtimePostHeader(struct soap* in_pSoap)
{
    static const HeaderHook s_post = in_pSoap->fposthdr;
    return s_post;
}

int parseHeaderRefusingCompression(struct soap* io_pSoap, const char* in_szKey, const char* in_szValue)
{
    if (in_szValue && ::strcasecmp(in_szKey, "Content-Encoding") == 0 &&
        (::strcasecmp(in_szValue, "gzip") == 0 || ::strcasecmp(in_szValue, "x-gzip") == 0 ||
         ::strcasecmp(in_szValue, "deflate") == 0))
    {
        return SOAP_ZLIB_ERROR;
    }
    return runtimeParseHeader(io_pSoap)(io_pSoap, in_szKey, in_szValue);
}

// The very fault that the runtime without compression gives for a compressed request.
void setFaultOfPlainRuntime(struct soap* io_pSoap, const char** io_pszCode, const char** io_pszString)
{
    if (io_pSoap->error != SOAP_ZLIB_ERROR)
        return;
    *io_pszCode = io_pSoap->version == 2 ? "SOAP-ENV:Sender" : "SOAP-ENV:Client";
    *io_pszString = "Zlib/gzip not installed for (de)compression: recompile with -DWITH_GZIP";
}

int postHeaderWithoutCompression(struct soap* io_pSoap, const char* in_szKey, const char* in_szValue)
{
    if (in_szKey && ::strcasecmp(in_szKey, "Accept-Encoding") == 0)
        return SOAP_OK;
    return runtimePostHeader(io_pSoap)(io_pSoap, in_szKey, in_szValue);
}
} // namespace

void refuseCompressedRequests(struct soap* io_pSoap)
{
    runtimeParseHeader(io_pSoap);
    io_pSoap->fparsehdr = parseHeaderRefusingCompression;
    io_pSoap->fseterror = setFaultOfPlainRuntime;
}

void announceNoCompression(struct soap* io_pSoap)
{
    runtimePostHeader(io_pSoap);
    io_pSoap->fposthdr = postHeaderWithoutCompression;
}
