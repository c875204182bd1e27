#include <gtest/gtest.h>

#include <iomanip>
#include <iterator>
#include <memory>
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

std::string oneLine(const OAMCommand& in_cmd)
{
    std::ostringstream os;
    os << in_cmd;
    return os.str();
}

std::string xmlOf(const SoapOAMCommand& in_cmd)
{
    std::ostringstream os;
    in_cmd.writeXML(os);
    return os.str();
}
} // namespace

TEST(CommandOneLineForm, NameThenOneSpaceBeforeEachArgument)
{
    EXPECT_EQ(oneLine(commandOf("get-alarms", {})), "get-alarms");
    EXPECT_EQ(oneLine(commandOf("x", {"a", "b"})), "x a b");
    EXPECT_EQ(oneLine(commandOf("x", {"", "b"})), "x  b");
    EXPECT_EQ(oneLine(commandOf("get-log-level", {"linkhaven.oam.command"})), "get-log-level linkhaven.oam.command");
}

TEST(CommandOneLineForm, FieldWidthAppliesToTheNameAlone)
{
    std::ostringstream os;
    os << std::setw(6) << std::setfill('.') << commandOf("x", {"a"});
    EXPECT_EQ(os.str(), ".....x a");
}

TEST(SoapOAMCommand, ConstructionCopyCloneAndClear)
{
    SoapOAM__OAMCommand record("set-run-mode");
    record.m_argVector = {"normal", ""};
    SoapOAMCommand cmd(record);
    EXPECT_STREQ(cmd.getName(), "set-run-mode");
    ASSERT_EQ(cmd.getNumArg(), 2u);
    EXPECT_STREQ(cmd.getArg(0), "normal");
    EXPECT_STREQ(cmd.getArg(1), "");

    std::unique_ptr<OAMCommand> pClone(cmd.clone());
    pClone->pushBackArg("extra");
    pClone->setName("other");
    EXPECT_EQ(oneLine(cmd), "set-run-mode normal ");
    EXPECT_EQ(oneLine(*pClone), "other normal  extra");

    SoapOAMCommand assigned = commandOf("a", {"1", "2", "3"});
    assigned = cmd;
    EXPECT_EQ(oneLine(assigned), "set-run-mode normal ");

    cmd.clear();
    EXPECT_EQ(cmd.getNumArg(), 0u);
    EXPECT_STREQ(cmd.getName(), "");
    EXPECT_EQ(oneLine(assigned), "set-run-mode normal ");
}

TEST(CommandXmlForm, IsTheServiceRecordUnderOAMCommandWithoutEnvelope)
{
    const std::string strOpen = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<OAMCommand xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                                "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" "
                                "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                                "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:SoapOAM=\"urn:SoapOAM\">";
    EXPECT_EQ(xmlOf(commandOf("a<b", {"x", ""})),
              strOpen + "<m-strName>a&lt;b</m-strName><m-argVector>x</m-argVector><m-argVector/></OAMCommand>");
    EXPECT_EQ(xmlOf(commandOf("get-alarms", {})), strOpen + "<m-strName>get-alarms</m-strName></OAMCommand>");
}

TEST(CommandXmlForm, RoundTripReplacesNameAndArgumentsAndLeavesTheStreamGood)
{
    const SoapOAMCommand original = commandOf("set-param", {"linkhaven.run.mode", "", "a & b"});
    std::istringstream is(xmlOf(original));
    SoapOAMCommand read = commandOf("old", {"stale"});
    read.readXML(is);
    EXPECT_TRUE(is.good());
    EXPECT_EQ(oneLine(read), oneLine(original));
    ASSERT_EQ(read.getNumArg(), 3u);
    EXPECT_STREQ(read.getArg(1), "");
}

TEST(CommandXmlForm, FailedStreamIsNotRead)
{
    const std::string strXml = xmlOf(commandOf("new", {}));
    std::istringstream is(strXml);
    is.setstate(std::ios::failbit);
    SoapOAMCommand cmd = commandOf("kept", {"arg"});
    cmd.readXML(is);
    EXPECT_EQ(oneLine(cmd), "kept arg");
    EXPECT_TRUE(is.fail());
    is.clear();
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(is), {}), strXml) << "nothing was taken from the stream";
}

TEST(CommandXmlForm, XmlThatIsNotACommandIsLoggedOnTheCommandLogger)
{
    LogCapture capture("linkhaven.oam.command");
    for (const char* szInput : {"<Command><m-strName>x</m-strName></Command>", "<x:OAMCommand><m-strName>a</m-strName></x:OAMCommand>"}) {
        std::istringstream is(szInput);
        SoapOAMCommand cmd;
        cmd.readXML(is);
        EXPECT_STREQ(cmd.getName(), "") << szInput;
    }
    const std::vector<CapturedLine> lines = capture.lines();
    ASSERT_EQ(lines.size(), 2u);
    for (const CapturedLine& line : lines) {
        EXPECT_EQ(line.level, ERROR_LOG_LEVEL);
        EXPECT_EQ(line.strMessage, "soap_get failure");
        EXPECT_EQ(line.strLogger, "linkhaven.oam.command");
    }
}

TEST(CommandXmlForm, TruncatedXmlKeepsWhatWasReadAndFailsTheStream)
{
    std::istringstream is("<OAMCommand><m-strName>half</m-strName><m-argVector>x</m-argVector><m-arg");
    SoapOAMCommand cmd;
    cmd.readXML(is);
    EXPECT_EQ(oneLine(cmd), "half x");
    EXPECT_TRUE(is.fail());

    // Cut anywhere, the XML form of a command never reads as a whole one.
    const std::string strXml = xmlOf(commandOf("set-log-level", {"debug", "linkhaven.oam"}));
    for (size_t uiLength = 0; uiLength < strXml.size(); ++uiLength) {
        std::istringstream cut(strXml.substr(0, uiLength));
        SoapOAMCommand partial;
        partial.readXML(cut);
        EXPECT_TRUE(cut.fail()) << strXml.substr(0, uiLength);
    }
}

TEST(CommandXmlForm, InputWithoutAnElementReportsEndOfInputWithoutLogging)
{
    LogCapture capture("linkhaven.oam.command");
    for (const char* szInput : {"", "no xml here"}) {
        std::istringstream is(szInput);
        SoapOAMCommand cmd;
        cmd.readXML(is);
        EXPECT_TRUE(is.eof()) << szInput;
        EXPECT_TRUE(is.fail()) << szInput;
    }
    EXPECT_TRUE(capture.lines().empty());
}
