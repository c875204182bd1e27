// The service on the wire, driven from memory: no network, no server thread (the server tests have those).

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <vector>

#include "oam/soap/SoapContext.h"
#include "oam/soap/SoapOAMOperations.h"
#include "oam/soap/SoapOAMServe.h"
#include "tests/oam/soap/SoapTexts.h"

namespace {

struct HttpMessage
{
    std::string strHead; // the start line and the headers
    std::string strEnvelope;
    std::string startLine() const { return strHead.substr(0, strHead.find("\r\n")); }
};

HttpMessage splitHttp(const std::string& in_strRaw)
{
    const size_t uiBody = std::min(in_strRaw.find("\r\n\r\n"), in_strRaw.size());
    return {in_strRaw.substr(0, uiBody + 2), in_strRaw.substr(std::min(uiBody + 4, in_strRaw.size()))};
}

// What the service writes around a body.
std::string expectedEnvelope(const std::string& in_strBody)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SOAP-ENV:Envelope " + SOAP_NAMESPACES +
           "><SOAP-ENV:Body SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">" + in_strBody +
           "</SOAP-ENV:Body></SOAP-ENV:Envelope>\r\n";
}

// Serves one request given as an envelope; null operations serve it as a context without any.
HttpMessage serveEnvelope(const std::string& in_strEnvelope, SoapOAMOperations* in_pOperations)
{
    std::istringstream is(httpAround("POST / HTTP/1.1\r\nHost: localhost\r\nConnection: keep-alive\r\nSOAPAction: \"\"", in_strEnvelope));
    std::ostringstream os;
    {
        SoapContext context;
        context.get()->is = &is;
        context.get()->os = &os;
        context.get()->user = in_pOperations;
        serveSoapOAMRequest(context.get());
    }
    return splitHttp(os.str());
}

// What a client stub sends, to a socket that is never touched: every byte goes to the string.
HttpMessage captureRequest(const std::function<void(struct soap*)>& in_send)
{
    std::string strRequest;
    SoapContext context;
    struct soap* const pSoap = context.get();
    pSoap->user = &strRequest;
    pSoap->fopen = [](struct soap*, const char*, const char*, int) -> SOAP_SOCKET { return 1000; };
    pSoap->fsend = [](struct soap* io_pSoap, const char* in_pData, size_t in_uiSize) {
        static_cast<std::string*>(io_pSoap->user)->append(in_pData, in_uiSize);
        return SOAP_OK;
    };
    pSoap->fclose = [](struct soap*) { return SOAP_OK; };
    in_send(pSoap);
    return splitHttp(strRequest);
}

// Answers with fixed values and keeps what it was given: the
// command in one line ("(null)" for none), the OM name, or "channel status".
struct RecordingOperations : SoapOAMOperations
{
    int executeCommand(struct soap*, SoapOAM__OAMCommand* in_pCmd, SoapOAM__OAMCommandExecResult& out_result) override
    {
        strReceived = in_pCmd ? in_pCmd->m_strName : "(null)";
        for (size_t i = 0; in_pCmd && i < in_pCmd->m_argVector.size(); ++i)
            strReceived += " " + in_pCmd->m_argVector[i];
        out_result.m_bExecSuccess = true;
        out_result.m_strStatusText = "done <ok> & \"well\"";
        return nStatus;
    }
    int getOM(struct soap*, const std::string& in_strOmName, std::string& out_strOM) override
    {
        strReceived = in_strOmName;
        out_strOM = "17";
        return nStatus;
    }
    int getPSTNChannelStatus(struct soap*, SoapOAM__getPSTNChannelStatusResponse& out_status) override
    {
        strReceived = "channel status";
        out_status.m_value = "span 1: in service";
        out_status.m_errorcode = 3;
        return nStatus;
    }

    int nStatus = 0;
    std::string strReceived;
};

const std::string GET_OM = "<SoapOAM:getOM><in-strOmName>cpu</in-strOmName></SoapOAM:getOM>";

} // namespace

TEST(SoapOAMWire, RequestsHaveTheServiceShapeAndGoToPort18081WithAnEmptyAction)
{
    SoapOAM__OAMCommand cmd("a&b");
    cmd.m_argVector = {"x", ""};
    const std::vector<std::pair<std::function<void(struct soap*)>, std::string>> cases = {
        {[&](struct soap* s) { SoapOAM::soap_send_SoapOAM__executeCommand(s, nullptr, nullptr, &cmd); },
         "<SoapOAM:executeCommand><in-cmd><m-strName>a&amp;b</m-strName><m-argVector>x</m-argVector><m-argVector/>"
         "</in-cmd></SoapOAM:executeCommand>"},
        {[](struct soap* s) { SoapOAM::soap_send_SoapOAM__getPSTNChannelStatus(s, nullptr, nullptr); },
         "<SoapOAM:getPSTNChannelStatus></SoapOAM:getPSTNChannelStatus>"},
    };
    for (const auto& [send, strBody] : cases) {
        SCOPED_TRACE(strBody);
        const HttpMessage request = captureRequest(send);
        EXPECT_EQ(request.strEnvelope, expectedEnvelope(strBody));
        EXPECT_NE(request.strHead.find("\r\nHost: localhost:18081\r\n"), std::string::npos) << request.strHead;
        EXPECT_NE(request.strHead.find("\r\nSOAPAction: \"\"\r\n"), std::string::npos) << request.strHead;
    }
}

TEST(SoapOAMWire, EachRequestIsReadByTheServiceRulesAndAnsweredWithItsResponseOrAFault)
{
    // The request; what the operation was given ("" when none ran); the response body, or the fault code ("": any
    // fault); what the operation gives; whether the context has operations.
    struct Case { const char* szName; std::string strRequest, strReceived, strAnswer; int nStatus = 0; bool bOperations = true; };
    auto command = [](const std::string& in_strInCmd) { return envelopeAround(executeCommandAround(in_strInCmd)); };
    const std::string EXEC_OK = "<SoapOAM:OAMCommandExecResult><m-bExecSuccess>true</m-bExecSuccess>"
                                "<m-strStatusText>done &lt;ok&gt; &amp; \"well\"</m-strStatusText></SoapOAM:OAMCommandExecResult>";
    const std::string OM_ANSWER = "<SoapOAM:getOMResponse><out-strOM>17</out-strOM></SoapOAM:getOMResponse>";
    const std::string CHANNEL_ANSWER = "<SoapOAM:getPSTNChannelStatusResponse><m-value>span 1: in service</m-value>"
                                       "<m-errorcode>3</m-errorcode></SoapOAM:getPSTNChannelStatusResponse>";
    const Case cases[] = {
        {"command", command("<in-cmd><m-strName>x</m-strName></in-cmd>"), "x", EXEC_OK},
        // Duplicates: first wins; arguments kept in document order across an unknown element, which
        // is skipped with its content; fields in any order; a second command ignored.
        {"reading rules",
         envelopeAround("<ns:executeCommand xmlns:ns=\"urn:SoapOAM\"><in-cmd><m-argVector>a</m-argVector><m-strName>first</m-strName>"
                        "<unknown><m-argVector>hidden</m-argVector></unknown><m-argVector></m-argVector><m-strName>second</m-strName>"
                        "<m-argVector>c</m-argVector></in-cmd><in-cmd><m-strName>third</m-strName></in-cmd></ns:executeCommand>"),
         "first a  c", EXEC_OK},
        {"multi-reference",
         envelopeAround("<SoapOAM:executeCommand><in-cmd href=\"#c1\"/></SoapOAM:executeCommand><cmd id=\"c1\" "
                        "xsi:type=\"SoapOAM:OAMCommand\"><m-strName>get-om</m-strName><m-argVector>cpu</m-argVector></cmd>"),
         "get-om cpu", EXEC_OK},
        {"missing command", command(""), "(null)", EXEC_OK},
        {"nil command", command("<in-cmd xsi:nil=\"true\"/>"), "(null)", EXEC_OK},
        {"om", envelopeAround(GET_OM), "cpu", OM_ANSWER},
        {"channel status", envelopeAround("<SoapOAM:getPSTNChannelStatus/>"), "channel status", CHANNEL_ANSWER},
        {"header to skip", envelopeAround(GET_OM, "<SOAP-ENV:Header><x:auth xmlns:x=\"urn:x\">k</x:auth></SOAP-ENV:Header>"), "cpu", OM_ANSWER},
        {"response as request", envelopeAround("<SoapOAM:getOMResponse><out-strOM>1</out-strOM></SoapOAM:getOMResponse>"), "", "SOAP-ENV:Client"},
        {"cut", envelopeAround("<SoapOAM:getOM><in-strOmName>cpu</in-strOm"), "", "SOAP-ENV:Client"},
        {"operation failing", envelopeAround("<SoapOAM:getPSTNChannelStatus/>"), "channel status", "", -1},
        {"no envelope", "<?xml version=\"1.0\"?><SoapOAM:getOM xmlns:SoapOAM=\"urn:SoapOAM\"/>", "", "SOAP-ENV:VersionMismatch"},
        {"no operations: command", command(""), "", "", 0, false},
        {"no operations: om", envelopeAround("<SoapOAM:getOM/>"), "", "", 0, false},
        {"no operations: channel status", envelopeAround("<SoapOAM:getPSTNChannelStatus/>"), "", "", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        RecordingOperations operations;
        operations.nStatus = c.nStatus;
        HttpMessage answer = serveEnvelope(c.strRequest, c.bOperations ? &operations : nullptr);
        EXPECT_EQ(operations.strReceived, c.strReceived);
        EXPECT_NE(answer.strHead.find("\r\nConnection: close\r\n"), std::string::npos) << answer.strHead;
        if (!c.strAnswer.empty() && c.strAnswer[0] == '<') {
            const std::string strEmptyHeader = "<SOAP-ENV:Header></SOAP-ENV:Header>"; // says nothing
            if (answer.strEnvelope.find(strEmptyHeader) != std::string::npos)
                answer.strEnvelope.erase(answer.strEnvelope.find(strEmptyHeader), strEmptyHeader.size());
            EXPECT_EQ(answer.startLine(), "HTTP/1.1 200 OK");
            EXPECT_EQ(answer.strEnvelope, expectedEnvelope(c.strAnswer));
            continue;
        }
        EXPECT_EQ(answer.startLine(), "HTTP/1.1 500 Internal Server Error");
        EXPECT_NE(answer.strEnvelope.find("<faultcode>" + c.strAnswer), std::string::npos) << answer.strEnvelope;
        EXPECT_EQ(answer.strEnvelope.find("<m-"), std::string::npos) << "a fault carries no response record";
    }
}

TEST(SoapOAMWire, EveryCutOrCorruptedRequestIsAnsweredWithAResponseOrAFault)
{
    const std::string strRequest = envelopeAround(
        "<SoapOAM:executeCommand><in-cmd href=\"#c1\"/></SoapOAM:executeCommand><cmd id=\"c1\"><m-strName>set-log-level</m-strName>"
        "<m-argVector>debug</m-argVector><m-argVector>linkhaven.oam</m-argVector></cmd>");
    RecordingOperations operations;
    auto expectAnswered = [&](const std::string& in_strSent) {
        const std::string strStartLine = serveEnvelope(in_strSent, &operations).startLine();
        EXPECT_TRUE(strStartLine == "HTTP/1.1 200 OK" || strStartLine == "HTTP/1.1 500 Internal Server Error")
            << '"' << strStartLine << "\" answering " << in_strSent;
    };
    for (size_t uiLength = 0; uiLength < strRequest.size(); ++uiLength)
        expectAnswered(strRequest.substr(0, uiLength));
    // Each markup character in turn replaced by one that breaks or shifts the structure.
    for (size_t uiPos = 0; uiPos < strRequest.size(); ++uiPos) {
        if (std::string("<>/\"=#:").find(strRequest[uiPos]) == std::string::npos)
            continue;
        for (char cReplacement : {'<', '>', '&', '\0'}) {
            std::string strCorrupted = strRequest;
            strCorrupted[uiPos] = cReplacement;
            expectAnswered(strCorrupted);
        }
    }
}

TEST(SoapOAMClientReading, ResultBooleansReadAsIntegersOrTrueFalseAndMissingAsFalse)
{
    const std::pair<std::string, bool> cases[] = {{"1", true}, {"0", false}, {"true", true}, {"false", false}, {"7", true},
                                                  {"-3", true}, {"00", false}, {"99999999999999999999", true},
                                                  {"", false}}; // "": no such field
    for (const auto& [strValue, bExpected] : cases) {
        SCOPED_TRACE(strValue);
        SoapOAM__OAMCommandExecResult result;
        result.m_bExecSuccess = !bExpected;
        const std::string strField = strValue.empty() ? "" : "<m-bExecSuccess>" + strValue + "</m-bExecSuccess>";
        // A canned answer read by the client's receiving stub.
        std::istringstream is(httpAround("HTTP/1.1 200 OK\r\nConnection: close",
                                         envelopeAround("<r:OAMCommandExecResult xmlns:r=\"urn:SoapOAM\"><m-strStatusText>s</m-strStatusText>" +
                                                        strField + "<m-strStatusText>t</m-strStatusText></r:OAMCommandExecResult>")));
        SoapContext context;
        context.get()->is = &is;
        EXPECT_EQ(SoapOAM::soap_recv_SoapOAM__executeCommand(context.get(), result), SOAP_OK);
        EXPECT_EQ(result.m_bExecSuccess, bExpected);
        EXPECT_EQ(result.m_strStatusText, "s");
    }
}
