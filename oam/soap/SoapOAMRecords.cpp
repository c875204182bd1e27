#include "oam/soap/SoapOAMRecords.h"

namespace SoapOAM {

SoapOAM__OAMCommand::SoapOAM__OAMCommand() = default;

SoapOAM__OAMCommand::SoapOAM__OAMCommand(const char* in_szName) : m_strName(in_szName) {}

} // namespace SoapOAM
