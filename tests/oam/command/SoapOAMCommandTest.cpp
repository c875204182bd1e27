#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

#include "oam/command/SoapOAMCommand.h"
#include "tests/support/LogCapture.h"

namespace {
SoapOAMCommand commandOf(const char* in_szName, std::initializer_list<const char*> in_args)
{
    SoapOAMCommand cmd;
    cmd.setName(in_szName);
    for (const char* szArg : in_args)
        cmd.pushBackArg(szArg);
    return cmd;
}

std::string xmlOf(const SoapOAMCommand& in_cmd)
{
    std::ostringstream os;
    in_cmd.writeXML(os);
    return os.str();
}
} // namespace

TEST(SoapOAMCommand, OneLineFormAndAssignment)
{
    EXPECT_EQ(::testing::PrintToString(commandOf("get-alarms", {})), "get-alarms");
    EXPECT_EQ(::testing::PrintToString(commandOf("x", {"", "b"})), "x  b");
    std::ostringstream os;
    os << std::setw(6) << std::setfill('.') << commandOf("x", {"a"});
    EXPECT_EQ(os.str(), ".....x a") << "the field width applies to the name alone";
    SoapOAMCommand assigned = commandOf("a", {"1", "2", "3"});
    assigned = commandOf("set-run-mode", {"normal", ""});
    EXPECT_EQ(::testing::PrintToString(assigned), "set-run-mode normal ");
}

TEST(CommandXmlForm, IsTheServiceRecordUnderOAMCommandAndReadsBackOverAnyCommand)
{
    const std::string strOpen = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<OAMCommand xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                                "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" "
                                "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                                "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:SoapOAM=\"urn:SoapOAM\">";
    const std::pair<SoapOAMCommand, std::string> cases[] = {
        {commandOf("a<b", {"x", "", "a & b"}),
         "<m-strName>a&lt;b</m-strName><m-argVector>x</m-argVector><m-argVector/><m-argVector>a &amp; b</m-argVector>"},
        {commandOf("get-alarms", {}), "<m-strName>get-alarms</m-strName>"},
    };
    for (const auto& [original, strFields] : cases) {
        SCOPED_TRACE(::testing::PrintToString(original));
        EXPECT_EQ(xmlOf(original), strOpen + strFields + "</OAMCommand>");
        std::istringstream is(xmlOf(original));
        SoapOAMCommand read = commandOf("old", {"stale"});
        read.readXML(is);
        EXPECT_TRUE(is.good());
        EXPECT_EQ(::testing::PrintToString(read), ::testing::PrintToString(original));
        EXPECT_EQ(read.getNumArg(), original.getNumArg());
    }
}

TEST(CommandXmlForm, WhatIsNotAWholeCommandFailsTheStreamAndOnlyAForeignElementIsLogged)
{
    // The input; the command as it stands after the read; whether it was logged; whether the stream had failed before.
    struct Case { std::string strInput, strRead; bool bLogged = false, bFailedBefore = false; };
    const std::vector<Case> cases = {
        {"<Command><m-strName>x</m-strName></Command>", "", true},
        {"<x:OAMCommand><m-strName>a</m-strName></x:OAMCommand>", "", true},
        {"<OAMCommand><m-strName>half</m-strName><m-argVector>x</m-argVector><m-arg", "half x"},
        {"", ""}, // no element at all: end of input, so that a loop reading commands ends
        {"no xml here", ""},
        {xmlOf(commandOf("new", {})), "old stale", false, true}, // a failed stream is not read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strInput);
        LogCapture capture("linkhaven.oam.command");
        std::istringstream is(c.strInput);
        is.setstate(c.bFailedBefore ? std::ios::failbit : std::ios::goodbit);
        SoapOAMCommand cmd = commandOf("old", {"stale"});
        cmd.readXML(is);
        EXPECT_TRUE(is.fail());
        EXPECT_EQ(::testing::PrintToString(cmd), c.strRead);
        EXPECT_EQ(capture.lines().size(), c.bLogged ? 1u : 0u);
        EXPECT_EQ(capture.contains(ERROR_LOG_LEVEL, "soap_get failure"), c.bLogged);
        EXPECT_TRUE(c.bLogged || !c.strRead.empty() || is.eof()) << "no element: end of input";
        is.clear();
        EXPECT_EQ(is.tellg() == 0, c.bFailedBefore || c.strInput.empty()) << "nothing taken from a failed stream";
    }
    // Cut anywhere, the XML form of a command never reads as a whole one.
    const std::string strXml = xmlOf(commandOf("set-log-level", {"debug", "linkhaven.oam"}));
    for (size_t uiLength = 0; uiLength < strXml.size(); ++uiLength) {
        std::istringstream cut(strXml.substr(0, uiLength));
        SoapOAMCommand partial;
        partial.readXML(cut);
        EXPECT_TRUE(cut.fail()) << strXml.substr(0, uiLength);
    }
}
