#include "apps/oamctl/OamCtl.h"

#include "apps/oamctl/GatewayAnswer.h"
#include "apps/oamctl/JsonString.h"
#include "apps/oamctl/OamCtlOptions.h"

namespace {
const char* const PROGRAM = "linkhaven-oamctl";
} // namespace

int runOamCtl(int in_nArgc, const char* const* in_pArgv, const char* in_szEnvEndpoint, std::ostream& io_out,
              std::ostream& io_err, const char* in_szEnvPassword)
{
    OamCtlOptions options;
    std::string strError;
    if (!options.parse(in_nArgc, in_pArgv, in_szEnvEndpoint, strError) ||
        !options.readPassword(in_szEnvPassword, strError)) {
        io_err << PROGRAM << ": " << strError << " (see --help)" << std::endl;
        return 2;
    }
    if (options.request == OamCtlOptions::SHOW_HELP) {
        io_out << OamCtlOptions::USAGE;
        return 0;
    }
    if (options.request == OamCtlOptions::SHOW_VERSION) {
        io_out << PROGRAM << ' ' << LINKHAVEN_VERSION << '\n';
        return 0;
    }

    if (options.security.bInsecure)
        io_err << PROGRAM << ": warning: --insecure: the gateway's certificate is not verified" << std::endl;
    const GatewayAnswer answer = GatewayAnswer::ask(options);
    if (!answer.bAnswered) {
        if (options.bJson)
            io_out << R"({"success":false,"error":)" << jsonString(answer.strReason) << '}' << std::endl;
        io_err << PROGRAM << ": " << answer.strReason << std::endl;
        return 2;
    }
    if (options.bJson) {
        const char* const szField = options.request == OamCtlOptions::RUN_COMMAND ? "text" : "value";
        io_out << R"({"success":)" << (answer.bSuccess ? "true" : "false") << ",\"" << szField
               << "\":" << jsonString(answer.strText) << '}' << std::endl;
    } else {
        io_out << answer.strText;
        if (answer.strText.empty() || answer.strText.back() != '\n')
            io_out << '\n';
        io_out.flush();
    }
    return answer.bSuccess ? 0 : 1;
}
