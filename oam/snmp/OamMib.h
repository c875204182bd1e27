#pragma once
// Where LINKHAVEN-OAM-MIB (LINKHAVEN-OAM-MIB.txt beside this file) puts its objects: under
// NET-SNMP-MIB's netSnmpPlaypen, 1.3.6.1.4.1.8072.9999.9999, until the product has an enterprise
// number of its own. Keep the two in step.

#include <cstddef>

#include "oam/snmp/NetSnmp.h"

namespace OamMib {

#define LINKHAVEN_OAM_MIB 1, 3, 6, 1, 4, 1, 8072, 9999, 9999, 1

constexpr oid OM_TABLE[] = {LINKHAVEN_OAM_MIB, 1, 1};
enum OmColumn : unsigned
{
    OM_NAME = 2,
    OM_NUMERIC_VALUE = 3,
    OM_TEXT_VALUE = 4
};

constexpr oid ALARM_TABLE[] = {LINKHAVEN_OAM_MIB, 1, 2};
enum AlarmColumn : unsigned
{
    ALARM_NAME = 2,
    ALARM_ACTIVE = 3,
    ALARM_RAISED_AT = 4,
    ALARM_DESCRIPTION = 5,
    // Accessible for notifications only: a walk never shows it.
    ALARM_EVENT_TIME = 6
};
// The columns of an entry, by the entry's object identifier followed by the column.
constexpr oid ALARM_ENTRY[] = {LINKHAVEN_OAM_MIB, 1, 2, 1};

constexpr oid ALARM_COLOUR[] = {LINKHAVEN_OAM_MIB, 1, 3};

constexpr oid ALARM_RAISED[] = {LINKHAVEN_OAM_MIB, 0, 1};
constexpr oid ALARM_CLEARED[] = {LINKHAVEN_OAM_MIB, 0, 2};

#undef LINKHAVEN_OAM_MIB

// DisplayString's limit: longer texts are cut.
constexpr std::size_t MAX_DISPLAY_STRING = 255;

} // namespace OamMib
