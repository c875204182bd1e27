#pragma once
// lhOmTable: every OM of the manager's catalogue with its value, each under the index its name was
// first given.
//
// The subagent's thread only.

#include <cstdint>
#include <string>
#include <vector>

#include "oam/snmp/NameIndexes.h"
#include "oam/snmp/SnapshotTable.h"

class OmTable : public SnapshotTable
{
  public:
    explicit OmTable(SnapshotSource& io_source);

  private:
    struct Row
    {
        std::string strName;
        bool bHasNumber = false;
        std::uint64_t ulNumber = 0;
        bool bHasText = false;
        std::string strText;
    };

    void reload(const OAMSnapshot& in_snapshot, std::vector<std::uint32_t>& out_vIndexes) override;
    bool answer(std::size_t in_uiSlot, unsigned in_uiColumn, netsnmp_variable_list* io_pVar) const override;

    NameIndexes m_indexes;
    std::vector<Row> m_vRows;
};
