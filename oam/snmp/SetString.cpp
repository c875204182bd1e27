#include "oam/snmp/SetString.h"

#include <algorithm>

#include "oam/snmp/OamMib.h"

bool setDisplayString(netsnmp_variable_list* io_pVar, const std::string& in_strText)
{
    return snmp_set_var_typed_value(io_pVar, ASN_OCTET_STR, in_strText.data(),
                                    std::min(in_strText.size(), OamMib::MAX_DISPLAY_STRING)) == 0;
}
