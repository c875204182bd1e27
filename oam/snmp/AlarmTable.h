#pragma once
// lhAlarmTable: every alarm the registry defines, whether the manager holds it raised and since
// when, each under the index its name was first given. The notifications name their alarm by the
// same indexes.
//
// The subagent's thread only.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "oam/snmp/NameIndexes.h"
#include "oam/snmp/SnapshotTable.h"

class AlarmTable : public SnapshotTable
{
  public:
    // in_indexes is shared with the notifications, and outlives the table.
    AlarmTable(SnapshotSource& io_source, NameIndexes& io_indexes);

  private:
    struct Row
    {
        std::string strName;
        bool bRaised = false;
        std::chrono::system_clock::time_point raisedAt;
        std::string strDescription;
    };

    void reload(const OAMSnapshot& in_snapshot, std::vector<std::uint32_t>& out_vIndexes) override;
    bool answer(std::size_t in_uiSlot, unsigned in_uiColumn, netsnmp_variable_list* io_pVar) const override;

    NameIndexes& m_indexes;
    std::vector<Row> m_vRows;
};
