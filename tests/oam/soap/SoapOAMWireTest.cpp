#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "tests/oam/soap/SoapWire.h"

namespace {

const std::string XML_DECL = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const std::string ENVELOPE_OPEN =
    "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:SoapOAM=\"urn:SoapOAM\">"
    "<SOAP-ENV:Body SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">";
const std::string ENVELOPE_CLOSE = "</SOAP-ENV:Body></SOAP-ENV:Envelope>";

std::string expectedEnvelope(const std::string& in_strBody)
{
    return XML_DECL + ENVELOPE_OPEN + in_strBody + ENVELOPE_CLOSE + "\r\n";
}

// Answers with fixed values and remembers what each request carried.
class RecordingOperations : public SoapOAMOperations
{
  public:
    int executeCommand(struct soap*, SoapOAM__OAMCommand* in_pCmd, SoapOAM__OAMCommandExecResult& out_result) override
    {
        ++nExecuteCalls;
        bNullCommand = in_pCmd == nullptr;
        if (in_pCmd)
            received = *in_pCmd;
        out_result.m_bExecSuccess = bExecSuccess;
        out_result.m_strStatusText = "done <ok> & \"well\"";
        return status;
    }
    int getOM(struct soap*, const std::string& in_strOmName, std::string& out_strOM) override
    {
        strOmName = in_strOmName;
        out_strOM = "17";
        return status;
    }
    int getPSTNChannelStatus(struct soap*, SoapOAM__getPSTNChannelStatusResponse& out_status) override
    {
        ++nChannelStatusCalls;
        out_status.m_value = "span 1: in service";
        out_status.m_errorcode = 3;
        return status;
    }

    int status = 0;
    bool bExecSuccess = true;
    int nExecuteCalls = 0;
    int nChannelStatusCalls = 0;
    bool bNullCommand = false;
    SoapOAM__OAMCommand received;
    std::string strOmName;
};

class SoapOAMWire : public ::testing::Test
{
  protected:
    HttpMessage serve(const std::string& in_strBody, const std::string& in_strHeader = "")
    {
        return splitHttp(serveEnvelope(envelopeAround(in_strBody, in_strHeader), &operations));
    }

    RecordingOperations operations;
};

bool isFault(const HttpMessage& in_message)
{
    return in_message.strStatusLine.find(" 500 ") != std::string::npos &&
           in_message.strEnvelope.find("<SOAP-ENV:Fault") != std::string::npos;
}

} // namespace

TEST_F(SoapOAMWire, RequestsHaveTheServiceShape)
{
    SoapOAM__OAMCommand cmd("a&b");
    cmd.m_argVector = {"x", ""};
    EXPECT_EQ(splitHttp(captureRequest([&](struct soap* s) {
                  SoapOAM::soap_send_SoapOAM__executeCommand(s, "http://localhost:1", nullptr, &cmd);
              })).strEnvelope,
              expectedEnvelope("<SoapOAM:executeCommand><in-cmd><m-strName>a&amp;b</m-strName>"
                               "<m-argVector>x</m-argVector><m-argVector/></in-cmd>"
                               "</SoapOAM:executeCommand>"));

    SoapOAM__OAMCommand bare("get-alarms");
    EXPECT_EQ(splitHttp(captureRequest([&](struct soap* s) {
                  SoapOAM::soap_send_SoapOAM__executeCommand(s, "http://localhost:1", nullptr, &bare);
              })).strEnvelope,
              expectedEnvelope("<SoapOAM:executeCommand><in-cmd><m-strName>get-alarms</m-strName></in-cmd>"
                               "</SoapOAM:executeCommand>"));

    EXPECT_EQ(splitHttp(captureRequest([&](struct soap* s) {
                  SoapOAM::soap_send_SoapOAM__getOM(s, "http://localhost:1", nullptr, "cpu<1>");
              })).strEnvelope,
              expectedEnvelope("<SoapOAM:getOM><in-strOmName>cpu&lt;1&gt;</in-strOmName></SoapOAM:getOM>"));

    EXPECT_EQ(splitHttp(captureRequest([&](struct soap* s) {
                  SoapOAM::soap_send_SoapOAM__getPSTNChannelStatus(s, "http://localhost:1", nullptr);
              })).strEnvelope,
              expectedEnvelope("<SoapOAM:getPSTNChannelStatus></SoapOAM:getPSTNChannelStatus>"));
}

TEST_F(SoapOAMWire, NullEndpointIsTheDefaultOnPort18081)
{
    const std::string strRequest = captureRequest([&](struct soap* s) {
        SoapOAM::soap_send_SoapOAM__getPSTNChannelStatus(s, nullptr, nullptr);
    });
    EXPECT_NE(strRequest.find("Host: localhost:18081\r\n"), std::string::npos) << strRequest;
    EXPECT_NE(strRequest.find("SOAPAction: \"\"\r\n"), std::string::npos) << strRequest;
}

TEST_F(SoapOAMWire, ResponsesHaveTheServiceShape)
{
    HttpMessage answer = serve("<SoapOAM:executeCommand><in-cmd><m-strName>x</m-strName></in-cmd></SoapOAM:executeCommand>");
    EXPECT_EQ(answer.strStatusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(answer.strEnvelope,
              expectedEnvelope("<SoapOAM:OAMCommandExecResult><m-bExecSuccess>true</m-bExecSuccess>"
                               "<m-strStatusText>done &lt;ok&gt; &amp; \"well\"</m-strStatusText>"
                               "</SoapOAM:OAMCommandExecResult>"));
    EXPECT_TRUE(operations.received.m_argVector.empty()) << "a command without arguments reads with none";

    operations.bExecSuccess = false;
    answer = serve("<SoapOAM:executeCommand><in-cmd><m-strName>x</m-strName></in-cmd></SoapOAM:executeCommand>");
    EXPECT_EQ(answer.strEnvelope,
              expectedEnvelope("<SoapOAM:OAMCommandExecResult><m-bExecSuccess>false</m-bExecSuccess>"
                               "<m-strStatusText>done &lt;ok&gt; &amp; \"well\"</m-strStatusText>"
                               "</SoapOAM:OAMCommandExecResult>"));

    answer = serve("<SoapOAM:getOM><in-strOmName>cpu</in-strOmName></SoapOAM:getOM>");
    EXPECT_EQ(answer.strEnvelope,
              expectedEnvelope("<SoapOAM:getOMResponse><out-strOM>17</out-strOM></SoapOAM:getOMResponse>"));
    EXPECT_EQ(operations.strOmName, "cpu");

    answer = serve("<SoapOAM:getPSTNChannelStatus/>");
    EXPECT_EQ(answer.strEnvelope,
              expectedEnvelope("<SoapOAM:getPSTNChannelStatusResponse><m-value>span 1: in service</m-value>"
                               "<m-errorcode>3</m-errorcode></SoapOAM:getPSTNChannelStatusResponse>"));
}

TEST_F(SoapOAMWire, CommandFieldsAreReadByTheRulesOfTheService)
{
    // Duplicates: first wins; arguments: all kept in document order across unknown elements; the
    // unknown element is skipped with its content; the fields may come in any order.
    serve("<ns:executeCommand xmlns:ns=\"urn:SoapOAM\"><in-cmd>"
          "<m-argVector>a</m-argVector><m-strName>first</m-strName>"
          "<unknown><m-argVector>hidden</m-argVector></unknown>"
          "<m-argVector></m-argVector><m-strName>second</m-strName><m-argVector>c</m-argVector>"
          "</in-cmd><in-cmd><m-strName>third</m-strName></in-cmd></ns:executeCommand>");
    ASSERT_EQ(operations.nExecuteCalls, 1);
    EXPECT_EQ(operations.received.m_strName, "first");
    EXPECT_EQ(operations.received.m_argVector, (std::vector<std::string>{"a", "", "c"}));
}

TEST_F(SoapOAMWire, MultiReferenceCommandIsAccepted)
{
    serve("<SoapOAM:executeCommand><in-cmd href=\"#c1\"/></SoapOAM:executeCommand>"
          "<cmd id=\"c1\" xsi:type=\"SoapOAM:OAMCommand\"><m-strName>get-om</m-strName>"
          "<m-argVector>cpu</m-argVector></cmd>");
    ASSERT_FALSE(operations.bNullCommand);
    EXPECT_EQ(operations.received.m_strName, "get-om");
    EXPECT_EQ(operations.received.m_argVector, (std::vector<std::string>{"cpu"}));
}

TEST_F(SoapOAMWire, MissingOrNilCommandReachesTheOperationAsNull)
{
    serve("<SoapOAM:executeCommand></SoapOAM:executeCommand>");
    EXPECT_EQ(operations.nExecuteCalls, 1);
    EXPECT_TRUE(operations.bNullCommand);

    operations.bNullCommand = false;
    serve("<SoapOAM:executeCommand><in-cmd xsi:nil=\"true\"/></SoapOAM:executeCommand>");
    EXPECT_EQ(operations.nExecuteCalls, 2);
    EXPECT_TRUE(operations.bNullCommand);
}

TEST_F(SoapOAMWire, ChannelStatusRequestWithChildrenIsServed)
{
    const HttpMessage answer = serve("<SoapOAM:getPSTNChannelStatus><span>1</span></SoapOAM:getPSTNChannelStatus>");
    EXPECT_EQ(operations.nChannelStatusCalls, 1);
    EXPECT_EQ(answer.strStatusLine, "HTTP/1.1 200 OK");
}

TEST_F(SoapOAMWire, FailuresAreAnsweredWithFaults)
{
    EXPECT_TRUE(isFault(serve("<SoapOAM:getOMResponse><out-strOM>1</out-strOM></SoapOAM:getOMResponse>")));
    EXPECT_TRUE(isFault(serve("<SoapOAM:getOM><in-strOmName>cpu</in-strOmName></SoapOAM:getOM>",
                              "<SOAP-ENV:Header><x:auth xmlns:x=\"urn:x\" SOAP-ENV:mustUnderstand=\"1\">k</x:auth>"
                              "</SOAP-ENV:Header>")));
    EXPECT_EQ(operations.strOmName, "");

    // A header entry that need not be understood is skipped.
    const HttpMessage served = serve("<SoapOAM:getOM><in-strOmName>cpu</in-strOmName></SoapOAM:getOM>",
                                     "<SOAP-ENV:Header><x:auth xmlns:x=\"urn:x\">k</x:auth></SOAP-ENV:Header>");
    EXPECT_EQ(served.strStatusLine, "HTTP/1.1 200 OK");

    EXPECT_TRUE(isFault(serve("<SoapOAM:getOM><in-strOmName>cpu</in-strOm")));

    // An operation that fails sends a fault, never its response record.
    operations.status = -1;
    const HttpMessage failed = serve("<SoapOAM:getPSTNChannelStatus/>");
    EXPECT_TRUE(isFault(failed));
    EXPECT_EQ(failed.strEnvelope.find("m-errorcode"), std::string::npos);
}

TEST_F(SoapOAMWire, XmlOutsideTheServicesEnvelopeIsAnsweredWithAVersionMismatchFault)
{
    const std::string strForeignEnvelope = "<?xml version=\"1.0\"?><E:Envelope xmlns:E=\"urn:other\" "
                                           "xmlns:SoapOAM=\"urn:SoapOAM\"><E:Body><SoapOAM:getOM/></E:Body></E:Envelope>";
    const std::string strNoEnvelope = "<?xml version=\"1.0\"?><SoapOAM:getOM xmlns:SoapOAM=\"urn:SoapOAM\"/>";
    for (const std::string& strRequest : {strForeignEnvelope, strNoEnvelope}) {
        const HttpMessage answer = splitHttp(serveEnvelope(strRequest, &operations));
        EXPECT_EQ(answer.strStatusLine, "HTTP/1.1 500 Internal Server Error") << strRequest;
        EXPECT_NE(answer.strEnvelope.find("<faultcode>SOAP-ENV:VersionMismatch</faultcode>"), std::string::npos)
            << answer.strEnvelope;
    }
    EXPECT_EQ(operations.strOmName, "");
}

TEST_F(SoapOAMWire, EveryCutOrCorruptedRequestIsAnsweredWithAResponseOrAFault)
{
    const std::string strRequest = envelopeAround(
        "<SoapOAM:executeCommand><in-cmd href=\"#c1\"/></SoapOAM:executeCommand>"
        "<cmd id=\"c1\"><m-strName>set-log-level</m-strName><m-argVector>debug</m-argVector>"
        "<m-argVector>linkhaven.oam</m-argVector></cmd>");
    auto expectAnswered = [&](const std::string& in_strSent) {
        const std::string strStatusLine = splitHttp(serveEnvelope(in_strSent, &operations)).strStatusLine;
        EXPECT_TRUE(strStatusLine == "HTTP/1.1 200 OK" || strStatusLine == "HTTP/1.1 500 Internal Server Error")
            << '"' << strStatusLine << "\" answering " << in_strSent;
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

TEST_F(SoapOAMWire, OverASocketEachRequestIsAnsweredAndItsConnectionClosed)
{
    for (const std::string& strBody : {std::string("<SoapOAM:getOM><in-strOmName>cpu</in-strOmName></SoapOAM:getOM>"),
                                       std::string("<SoapOAM:getOMResponse/>")}) {
        const std::string strEnvelope = envelopeAround(strBody);
        const std::string strAnswer =
            serveOverSocket("POST / HTTP/1.1\r\nHost: localhost\r\nConnection: keep-alive\r\n"
                            "Content-Type: text/xml; charset=utf-8\r\nContent-Length: " +
                                std::to_string(strEnvelope.size()) + "\r\n\r\n" + strEnvelope,
                            &operations);
        EXPECT_NE(strAnswer.find("\r\nConnection: close\r\n"), std::string::npos) << strAnswer;
        // The whole answer came, and then the end of the connection, within the read limit.
        EXPECT_EQ(strAnswer.substr(strAnswer.size() - std::string("</SOAP-ENV:Envelope>\r\n").size()),
                  "</SOAP-ENV:Envelope>\r\n");
    }
    EXPECT_EQ(operations.strOmName, "cpu");
}

TEST(SoapOAMServer, ContextWithoutOperationsAnswersEveryRequestWithAFault)
{
    for (const char* szBody : {"<SoapOAM:getPSTNChannelStatus/>", "<SoapOAM:getOM/>", "<SoapOAM:executeCommand/>"})
        EXPECT_TRUE(isFault(splitHttp(serveEnvelope(envelopeAround(szBody), nullptr)))) << szBody;
}

namespace {
std::string rawAnswer(const std::string& in_strBody)
{
    const std::string strEnvelope = envelopeAround(in_strBody);
    return "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " +
           std::to_string(strEnvelope.size()) + "\r\nConnection: close\r\n\r\n" + strEnvelope;
}
} // namespace

TEST(SoapOAMClientReading, ResultBooleansReadAsIntegersAndTrueFalse)
{
    for (const auto& [strValue, bExpected] :
         std::vector<std::pair<std::string, bool>>{{"1", true}, {"0", false}, {"true", true}, {"false", false}, {"7", true},
                                                         {"-3", true}, {"00", false}, {"99999999999999999999", true}}) {
        SoapOAM__OAMCommandExecResult result;
        result.m_bExecSuccess = !bExpected;
        const int status = receiveAnswer(
            rawAnswer("<r:OAMCommandExecResult xmlns:r=\"urn:SoapOAM\"><m-strStatusText>s</m-strStatusText>"
                      "<m-bExecSuccess>" + strValue + "</m-bExecSuccess><m-strStatusText>t</m-strStatusText>"
                      "</r:OAMCommandExecResult>"),
            [&](struct soap* s) { return SoapOAM::soap_recv_SoapOAM__executeCommand(s, result); });
        EXPECT_EQ(status, SOAP_OK) << strValue;
        EXPECT_EQ(result.m_bExecSuccess, bExpected) << strValue;
        EXPECT_EQ(result.m_strStatusText, "s");
    }
}

TEST(SoapOAMClientReading, MissingFieldsKeepTheirDefaultsAndFaultsFail)
{
    SoapOAM__getPSTNChannelStatusResponse status;
    status.m_value = "stale";
    status.m_errorcode = 9;
    EXPECT_EQ(receiveAnswer(rawAnswer("<SoapOAM:getPSTNChannelStatusResponse><m-value>v</m-value>"
                                      "</SoapOAM:getPSTNChannelStatusResponse>"),
                            [&](struct soap* s) { return SoapOAM::soap_recv_SoapOAM__getPSTNChannelStatus(s, status); }),
              SOAP_OK);
    EXPECT_EQ(status.m_value, "v");
    EXPECT_EQ(status.m_errorcode, 0);

    std::string strOM = "stale";
    EXPECT_NE(receiveAnswer(rawAnswer("<SOAP-ENV:Fault><faultcode>SOAP-ENV:Server</faultcode>"
                                      "<faultstring>no</faultstring></SOAP-ENV:Fault>"),
                            [&](struct soap* s) { return SoapOAM::soap_recv_SoapOAM__getOM(s, strOM); }),
              SOAP_OK);
    EXPECT_EQ(strOM, "");
}
