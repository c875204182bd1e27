// linkhaven-bare-soap-server PORT: the floor of the web-service benchmark. A server of the same
// contract, built from the same generated code and served by the same one-request call, with the
// gateway's socket settings, whose operations answer at once with the texts the gateway gives to
// the benchmark's requests (get-run-mode, and the task manager's state). Runs until killed.

#include <sys/socket.h>

#include <cstdlib>
#include <iostream>

#include "oam/soap/SoapContext.h"
#include "oam/soap/SoapOAMOperations.h"
#include "oam/soap/SoapOAMServe.h"
#include "oam/soap/SoapTimeout.h"

namespace {
class ImmediateOperations : public SoapOAMOperations
{
  public:
    int executeCommand(struct soap*, SoapOAM__OAMCommand* in_pCmd, SoapOAM__OAMCommandExecResult& out_result) override
    {
        if (!in_pCmd)
            return -1;
        out_result.m_bExecSuccess = true;
        out_result.m_strStatusText = "Success\nThe current gateway run mode is production";
        return 0;
    }
    int getOM(struct soap*, const std::string&, std::string& out_strOM) override
    {
        out_strOM = "GREEN";
        return 0;
    }
    int getPSTNChannelStatus(struct soap*, SoapOAM__getPSTNChannelStatusResponse& out_status) override
    {
        out_status.m_errorcode = 0;
        return 0;
    }
};
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: linkhaven-bare-soap-server PORT" << std::endl;
        return 2;
    }
    ImmediateOperations operations;
    SoapContext context;
    struct soap* const pSoap = context.get();
    soap_set_namespaces(pSoap, namespaces);
    SoapOAMOperations::attachTo(pSoap, &operations);
    pSoap->recv_timeout = pSoap->send_timeout = soapTimeoutFromMs(5000);
    pSoap->bind_flags = SO_REUSEADDR;
    pSoap->socket_flags = MSG_NOSIGNAL;
    // Answers written as trees, as the gateway writes them.
    soap_set_omode(pSoap, SOAP_XML_TREE);
    if (!soap_valid_socket(soap_bind(pSoap, "127.0.0.1", std::atoi(argv[1]), 100))) {
        soap_print_fault(pSoap, stderr);
        return 1;
    }
    for (;;) {
        if (soap_valid_socket(soap_accept(pSoap)))
            serveSoapOAMRequest(pSoap);
        soap_destroy(pSoap);
        soap_end(pSoap);
    }
}
