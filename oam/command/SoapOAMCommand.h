#pragma once
// The one concrete command: its data is the SOAP command record itself, so a command received by
// the web service needs no conversion. Not locked: built by one thread, then only read or cloned.

#include <istream>
#include <ostream>

#include "oam/command/OAMCommand.h"
#include "oam/soap/SoapOAMRecords.h"

class SoapOAMCommand : public OAMCommand, public SoapOAM__OAMCommand
{
  public:
    SoapOAMCommand();
    explicit SoapOAMCommand(const SoapOAM__OAMCommand& in_record);
    SoapOAMCommand(const SoapOAMCommand& in_other);
    SoapOAMCommand& operator=(const SoapOAMCommand& in_other);
    ~SoapOAMCommand() override;

    const char* getName() const override;
    void setName(const char* in_szName) override;
    uint64_t getNumArg() const override;
    const char* getArg(uint64_t in_index) const override;
    void pushBackArg(const char* in_szArg) override;
    std::ostream& write(std::ostream& io_os) const override;
    OAMCommand* clone() const override;

    void clear();

    // One "OAMCommand" element, with no envelope, as the service serialises the record.
    std::ostream& writeXML(std::ostream& io_os) const;
    // Replaces name and arguments by one "OAMCommand" element read from the stream.
    std::istream& readXML(std::istream& io_is);
};
