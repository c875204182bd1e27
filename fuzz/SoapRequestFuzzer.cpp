// libFuzzer target of the web service's request path: each input is the bytes that arrive on one
// connection, served by serveSoapOAMRequest as the server serves it (compressed requests refused,
// a gate on the Basic credentials) against operations that answer at once.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "oam/soap/IdentityEncoding.h"
#include "oam/soap/SoapContext.h"
#include "oam/soap/SoapOAMOperations.h"
#include "oam/soap/SoapOAMServe.h"

namespace {
// Answers as the manager would, failing on the name "fail" so that faults are written too.
class ImmediateOperations : public SoapOAMOperations
{
  public:
    int executeCommand(struct soap*, SoapOAM__OAMCommand* in_pCmd, SoapOAM__OAMCommandExecResult& out_result) override
    {
        if (!in_pCmd || in_pCmd->m_strName == "fail")
            return -1;
        out_result.m_bExecSuccess = !in_pCmd->m_argVector.empty();
        out_result.m_strStatusText = in_pCmd->m_strName;
        return 0;
    }
    int getOM(struct soap*, const std::string& in_strOmName, std::string& out_strOM) override
    {
        out_strOM = in_strOmName;
        return in_strOmName == "fail" ? -1 : 0;
    }
    int getPSTNChannelStatus(struct soap*, SoapOAM__getPSTNChannelStatusResponse& out_status) override
    {
        out_status.m_value = "span 1: in service";
        out_status.m_errorcode = 0;
        return 0;
    }
};
// Admits the user "admin" whatever the password, so that both answers are written.
class AdminOnlyGate : public RequestGate
{
  public:
    bool admits(struct soap* io_pSoap) override
    {
        io_pSoap->authrealm = "fuzz";
        return io_pSoap->userid && std::string(io_pSoap->userid) == "admin";
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* in_pData, std::size_t in_uiSize)
{
    static ImmediateOperations s_operations;
    static AdminOnlyGate s_gate;
    std::istringstream is(std::string(reinterpret_cast<const char*>(in_pData), in_uiSize));
    std::ostringstream os;
    SoapContext context;
    struct soap* const pSoap = context.get();
    soap_set_namespaces(pSoap, namespaces);
    SoapOAMOperations::attachTo(pSoap, &s_operations);
    pSoap->is = &is;
    pSoap->os = &os;
    refuseCompressedRequests(pSoap);
    // Half the inputs pass the gate unasked, so that the operations stay reachable without credentials.
    serveSoapOAMRequest(pSoap, nullptr, in_uiSize % 2 ? &s_gate : nullptr);
    return 0;
}
