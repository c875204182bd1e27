#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "oam/soap/SoapOAMRecords.h"

TEST(SoapOAMContract, NamespaceTableHasTheFiveEntriesInOrder)
{
    struct Entry
    {
        std::string strPrefix, strNamespace, strAccepted;
    };
    const std::vector<Entry> expected = {
        {"SOAP-ENV", "http://schemas.xmlsoap.org/soap/envelope/", "http://www.w3.org/*/soap-envelope"},
        {"SOAP-ENC", "http://schemas.xmlsoap.org/soap/encoding/", "http://www.w3.org/*/soap-encoding"},
        {"xsi", "http://www.w3.org/2001/XMLSchema-instance", "http://www.w3.org/*/XMLSchema-instance"},
        {"xsd", "http://www.w3.org/2001/XMLSchema", "http://www.w3.org/*/XMLSchema"},
        {"SoapOAM", "urn:SoapOAM", ""},
    };
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_NE(namespaces[i].id, nullptr) << i;
        EXPECT_EQ(namespaces[i].id, expected[i].strPrefix);
        EXPECT_EQ(namespaces[i].ns, expected[i].strNamespace);
        EXPECT_EQ(namespaces[i].in ? namespaces[i].in : "", expected[i].strAccepted);
    }
    EXPECT_EQ(namespaces[expected.size()].id, nullptr);
}

TEST(SoapOAMContract, WsdlDescribesTheThreeOperationsAtPort18081)
{
    std::ifstream wsdl(LINKHAVEN_SOAP_WSDL);
    ASSERT_TRUE(wsdl.good()) << LINKHAVEN_SOAP_WSDL;
    std::ostringstream text;
    text << wsdl.rdbuf();
    const std::string strWsdl = text.str();
    for (const char* szNeedle :
         {"<operation name=\"executeCommand\">", "<operation name=\"getOM\">", "<operation name=\"getPSTNChannelStatus\">",
          "<SOAP:address location=\"http://localhost:18081\"/>", "style=\"rpc\"",
          "encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"", "targetNamespace=\"urn:SoapOAM\""})
        EXPECT_NE(strWsdl.find(szNeedle), std::string::npos) << szNeedle;
}

TEST(SoapOAMContract, RecordsStartAtTheirDefaultsAndCopyBothFields)
{
    SoapOAM__OAMCommand named("get-alarms");
    EXPECT_EQ(named.m_strName, "get-alarms");
    EXPECT_TRUE(named.m_argVector.empty());
    SoapOAM__OAMCommand assigned;
    EXPECT_EQ(assigned.m_strName, "");
    EXPECT_TRUE(assigned.m_argVector.empty());
    assigned.m_argVector = {"old", "args"};
    named.m_argVector = {"critical"};
    assigned = named;
    EXPECT_EQ(assigned.m_strName, "get-alarms");
    EXPECT_EQ(assigned.m_argVector, std::vector<std::string>{"critical"});

    struct soap* pSoap = soap_new();
    SoapOAM__OAMCommandExecResult result;
    result.m_bExecSuccess = true;
    result.m_strStatusText = "x";
    result.soap_default(pSoap);
    EXPECT_FALSE(result.m_bExecSuccess);
    EXPECT_EQ(result.m_strStatusText, "");
    SoapOAM__getPSTNChannelStatusResponse status;
    status.m_value = "v";
    status.m_errorcode = 4;
    status.soap_default(pSoap);
    EXPECT_EQ(status.m_value, "");
    EXPECT_EQ(status.m_errorcode, 0);
    soap_free(pSoap);

    result.m_bExecSuccess = true;
    result.m_strStatusText = "ok";
    SoapOAM__OAMCommandExecResult copy(result);
    EXPECT_TRUE(copy.m_bExecSuccess);
    EXPECT_EQ(copy.m_strStatusText, "ok");
}
