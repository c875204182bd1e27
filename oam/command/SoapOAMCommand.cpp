#include "oam/command/SoapOAMCommand.h"

#include "host/core/AceCleanupLogger.h"
#include "oam/soap/SoapContext.h"

namespace {
const char* const OAM_COMMAND_TAG = "OAMCommand";
} // namespace

SoapOAMCommand::SoapOAMCommand() = default;

SoapOAMCommand::SoapOAMCommand(const SoapOAM__OAMCommand& in_record) : SoapOAM__OAMCommand(in_record) {}

SoapOAMCommand::SoapOAMCommand(const SoapOAMCommand& in_other) : OAMCommand(), SoapOAM__OAMCommand(in_other) {}

SoapOAMCommand& SoapOAMCommand::operator=(const SoapOAMCommand& in_other)
{
    m_strName = in_other.m_strName;
    m_argVector = in_other.m_argVector;
    return *this;
}

SoapOAMCommand::~SoapOAMCommand() = default;

const char* SoapOAMCommand::getName() const { return m_strName.c_str(); }

void SoapOAMCommand::setName(const char* in_szName) { m_strName = in_szName; }

uint64_t SoapOAMCommand::getNumArg() const { return m_argVector.size(); }

const char* SoapOAMCommand::getArg(uint64_t in_index) const { return m_argVector[in_index].c_str(); }

void SoapOAMCommand::pushBackArg(const char* in_szArg) { m_argVector.emplace_back(in_szArg); }

std::ostream& SoapOAMCommand::write(std::ostream& io_os) const
{
    // The stream's width and fill apply to the name alone: the inserter resets the width.
    io_os << m_strName;
    for (const std::string& strArg : m_argVector) {
        io_os.put(' ');
        io_os << strArg;
    }
    return io_os;
}

OAMCommand* SoapOAMCommand::clone() const { return new SoapOAMCommand(*this); }

void SoapOAMCommand::clear()
{
    m_strName.clear();
    m_argVector.clear();
}

std::ostream& SoapOAMCommand::writeXML(std::ostream& io_os) const
{
    SoapContext context;
    struct soap* pSoap = context.get();
    pSoap->os = &io_os;
    soap_serialize(pSoap);
    soap_begin_send(pSoap);
    soap_put(pSoap, OAM_COMMAND_TAG, nullptr);
    soap_end_send(pSoap);
    return io_os;
}

std::istream& SoapOAMCommand::readXML(std::istream& io_is)
{
    if (io_is.bad() || io_is.fail())
        return io_is;
    SoapContext context;
    struct soap* pSoap = context.get();
    pSoap->is = &io_is;
    soap_begin_recv(pSoap);
    // The record's reader fills this object in place and only appends arguments.
    clear();
    const bool bRead = soap_get(pSoap, OAM_COMMAND_TAG, nullptr) != nullptr;
    if (bRead && io_is.eof()) {
        io_is.clear();
    } else if (!bRead && pSoap->error != SOAP_EOF) {
        LH_ERROR(AceCleanupLogger::get("linkhaven.oam.command"), "soap_get failure");
    }
    // End of input before any element leaves the stream at end of file, so that a loop reading
    // commands until the stream fails comes to an end.
    soap_end_recv(pSoap);
    return io_is;
}
