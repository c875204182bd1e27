#include "oam/snmp/OmTable.h"

#include <cmath>

#include "oam/manager/OAMSnapshot.h"
#include "oam/snmp/OamMib.h"
#include "oam/snmp/SetString.h"

OmTable::OmTable(SnapshotSource& io_source)
    : SnapshotTable("lhOmTable", OamMib::OM_TABLE, OID_LENGTH(OamMib::OM_TABLE), OamMib::OM_TEXT_VALUE, io_source)
{
}

void OmTable::reload(const OAMSnapshot& in_snapshot, std::vector<std::uint32_t>& out_vIndexes)
{
    m_vRows.clear();
    for (const OAMSnapshot::OM& om : in_snapshot.vOMs) {
        Row row;
        row.strName = om.description.strName;
        if (om.value.valid()) {
            const ParameterValue& value = om.value.value();
            double dValue = 0.0;
            row.bHasNumber = om.description.kind == OMDescription::NUMERIC && value.getFloating(dValue) &&
                             dValue >= 0.0 && dValue < 18446744073709551616.0;
            row.ulNumber = row.bHasNumber ? static_cast<std::uint64_t>(std::floor(dValue)) : 0;
            row.bHasText = true;
            row.strText = value.getText();
        }
        out_vIndexes.push_back(m_indexes.indexOf(row.strName));
        m_vRows.push_back(std::move(row));
    }
}

bool OmTable::answer(std::size_t in_uiSlot, unsigned in_uiColumn, netsnmp_variable_list* io_pVar) const
{
    const Row& row = m_vRows.at(in_uiSlot);
    switch (in_uiColumn) {
    case OamMib::OM_NAME:
        return setDisplayString(io_pVar, row.strName);
    case OamMib::OM_NUMERIC_VALUE:
        if (!row.bHasNumber)
            return false;
        {
            const counter64 value{row.ulNumber >> 32, row.ulNumber & 0xffffffffU};
            return snmp_set_var_typed_value(io_pVar, ASN_COUNTER64, &value, sizeof value) == 0;
        }
    case OamMib::OM_TEXT_VALUE:
        return row.bHasText && setDisplayString(io_pVar, row.strText);
    default:
        return false;
    }
}
