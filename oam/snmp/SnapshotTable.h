#pragma once
// A read-only table of LINKHAVEN-OAM-MIB whose rows come from the manager's snapshot: net-snmp's
// table-data helper under its cache helper, which reloads the rows when a request finds them more
// than a second old and lets them go when no one has asked for a while. A column that a row has no
// value for is skipped by a walk (the sparse-table helper).
//
// The subagent's thread only, as every net-snmp call.

#include <cstdint>
#include <string>
#include <vector>

#include "oam/snmp/NetSnmp.h"

struct OAMSnapshot;
class SnapshotSource;

class SnapshotTable
{
  public:
    // in_uiLastColumn: the last column a walk shows; the index is column 1 and never shown.
    SnapshotTable(const char* in_szName, const oid* in_pTableOid, std::size_t in_uiOidLength,
                  unsigned in_uiLastColumn, SnapshotSource& io_source);
    virtual ~SnapshotTable();
    SnapshotTable(const SnapshotTable&) = delete;
    SnapshotTable& operator=(const SnapshotTable&) = delete;

    // False when net-snmp refused the registration (its log says why). Before init_snmp.
    bool registerTable();
    // Before snmp_shutdown, which would free what the registration holds under it.
    void unregisterTable();

  protected:
    // Keeps what the rows answer from, one slot per row; appends each slot's index, in slot order.
    virtual void reload(const OAMSnapshot& in_snapshot, std::vector<std::uint32_t>& out_vIndexes) = 0;
    // Sets one column of a slot's row into the variable; false when the row has no such value.
    virtual bool answer(std::size_t in_uiSlot, unsigned in_uiColumn, netsnmp_variable_list* io_pVar) const = 0;

  private:
    static int handle(netsnmp_mib_handler* io_pHandler, netsnmp_handler_registration* io_pRegistration,
                      netsnmp_agent_request_info* io_pRequestInfo, netsnmp_request_info* io_pRequests);
    static int load(netsnmp_cache* io_pCache, void* io_pTable);
    static void release(netsnmp_cache* io_pCache, void* io_pTable);
    void clearRows();

    const std::string m_strName;
    const std::vector<oid> m_vTableOid;
    const unsigned m_uiLastColumn;
    SnapshotSource& m_source;
    netsnmp_tdata* m_pData = nullptr;
    netsnmp_table_registration_info* m_pInfo = nullptr;
    netsnmp_handler_registration* m_pRegistration = nullptr;
};
