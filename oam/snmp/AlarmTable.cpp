#include "oam/snmp/AlarmTable.h"

#include <unordered_map>

#include "host/infra/AlarmRegistry.h"
#include "oam/manager/OAMSnapshot.h"
#include "oam/snmp/DateAndTime.h"
#include "oam/snmp/OamMib.h"
#include "oam/snmp/SetString.h"

AlarmTable::AlarmTable(SnapshotSource& io_source, NameIndexes& io_indexes)
    : SnapshotTable("lhAlarmTable", OamMib::ALARM_TABLE, OID_LENGTH(OamMib::ALARM_TABLE), OamMib::ALARM_DESCRIPTION,
                    io_source),
      m_indexes(io_indexes)
{
}

void AlarmTable::reload(const OAMSnapshot& in_snapshot, std::vector<std::uint32_t>& out_vIndexes)
{
    // The snapshot has the manager's view of each alarm; the registry has what each one means.
    AlarmRegistry::AlarmVector vAlarms;
    AlarmRegistry::getInstance().getAllAlarms(vAlarms);
    std::unordered_map<std::string, std::string> descriptions;
    for (const auto& pAlarm : vAlarms)
        descriptions.emplace(pAlarm->getName(), pAlarm->getDescription());

    m_vRows.clear();
    for (const OAMSnapshot::AlarmEntry& alarm : in_snapshot.vAlarms) {
        const auto found = descriptions.find(alarm.strName);
        m_vRows.push_back({alarm.strName, alarm.bRaised, alarm.raisedAt,
                           found == descriptions.end() ? std::string() : found->second});
        out_vIndexes.push_back(m_indexes.indexOf(alarm.strName));
    }
}

bool AlarmTable::answer(std::size_t in_uiSlot, unsigned in_uiColumn, netsnmp_variable_list* io_pVar) const
{
    const Row& row = m_vRows.at(in_uiSlot);
    switch (in_uiColumn) {
    case OamMib::ALARM_NAME:
        return setDisplayString(io_pVar, row.strName);
    case OamMib::ALARM_ACTIVE: {
        // TruthValue: true(1), false(2).
        const long lActive = row.bRaised ? 1 : 2;
        return snmp_set_var_typed_value(io_pVar, ASN_INTEGER, &lActive, sizeof lActive) == 0;
    }
    case OamMib::ALARM_RAISED_AT: {
        if (!row.bRaised)
            return false;
        const std::string strTime = encodeDateAndTime(row.raisedAt);
        return snmp_set_var_typed_value(io_pVar, ASN_OCTET_STR, strTime.data(), strTime.size()) == 0;
    }
    case OamMib::ALARM_DESCRIPTION:
        return setDisplayString(io_pVar, row.strDescription);
    default:
        return false;
    }
}
