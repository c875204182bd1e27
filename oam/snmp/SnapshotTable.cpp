#include "oam/snmp/SnapshotTable.h"

#include "oam/snmp/SnapshotSource.h"

namespace {
// Seconds a loaded table answers before the next request reloads it.
const int CACHE_SECONDS = 1;
// The name the table-data helper gives the container helper it stacks (no header names it).
const char* const CONTAINER_HELPER = "table_container";
} // namespace

SnapshotTable::SnapshotTable(const char* in_szName, const oid* in_pTableOid, std::size_t in_uiOidLength,
                             unsigned in_uiLastColumn, SnapshotSource& io_source)
    : m_strName(in_szName), m_vTableOid(in_pTableOid, in_pTableOid + in_uiOidLength), m_uiLastColumn(in_uiLastColumn),
      m_source(io_source)
{
}

SnapshotTable::~SnapshotTable() { unregisterTable(); }

bool SnapshotTable::registerTable()
{
    m_pData = netsnmp_tdata_create_table(m_strName.c_str(), 0);
    m_pRegistration = netsnmp_create_handler_registration(m_strName.c_str(), &SnapshotTable::handle,
                                                          m_vTableOid.data(), m_vTableOid.size(), HANDLER_CAN_RONLY);
    m_pInfo = SNMP_MALLOC_TYPEDEF(netsnmp_table_registration_info);
    if (m_pData == nullptr || m_pRegistration == nullptr || m_pInfo == nullptr)
        return false;
    m_pRegistration->my_reg_void = this;
    netsnmp_table_helper_add_indexes(m_pInfo, ASN_UNSIGNED, 0);
    m_pInfo->min_column = 2;
    m_pInfo->max_column = m_uiLastColumn;
    if (netsnmp_tdata_register(m_pRegistration, m_pData, m_pInfo) != MIB_REGISTERED_OK) {
        // A failed registration frees the registration itself.
        m_pRegistration = nullptr;
        return false;
    }
    netsnmp_cache* const pCache = netsnmp_cache_create(CACHE_SECONDS, &SnapshotTable::load, &SnapshotTable::release,
                                                       m_vTableOid.data(), m_vTableOid.size());
    pCache->magic = this;
    netsnmp_mib_handler* const pCacheHandler = netsnmp_cache_handler_get(pCache);
    netsnmp_cache_handler_owns_cache(pCacheHandler);
    // Both above the container helper, which looks the rows up and turns a next into a get below:
    // the rows are loaded before it looks, and a column that a row lacks sends a walk on to the next
    // row rather than past the table.
    netsnmp_inject_handler_before(m_pRegistration, pCacheHandler, CONTAINER_HELPER);
    return true;
}

void SnapshotTable::unregisterTable()
{
    clearRows();
    if (m_pRegistration != nullptr)
        netsnmp_unregister_handler(m_pRegistration);
    m_pRegistration = nullptr;
    // Neither the registration nor the helpers own the table's description, nor its data.
    if (m_pInfo != nullptr)
        netsnmp_table_registration_info_free(m_pInfo);
    m_pInfo = nullptr;
    if (m_pData != nullptr)
        netsnmp_tdata_delete_table(m_pData);
    m_pData = nullptr;
}

int SnapshotTable::handle(netsnmp_mib_handler*, netsnmp_handler_registration* io_pRegistration,
                          netsnmp_agent_request_info* io_pRequestInfo, netsnmp_request_info* io_pRequests)
{
    if (io_pRequestInfo->mode != MODE_GET)
        return SNMP_ERR_NOERROR;
    const auto* const pTable = static_cast<const SnapshotTable*>(io_pRegistration->my_reg_void);
    for (netsnmp_request_info* pRequest = io_pRequests; pRequest != nullptr; pRequest = pRequest->next) {
        if (pRequest->processed)
            continue;
        const netsnmp_table_request_info* const pInfo = netsnmp_extract_table_info(pRequest);
        netsnmp_tdata_row* const pRow = netsnmp_tdata_extract_row(pRequest);
        // The slot is kept as the row's data, counted from 1 so that no row's data is null.
        if (pInfo == nullptr || pRow == nullptr ||
            !pTable->answer(reinterpret_cast<std::uintptr_t>(pRow->data) - 1, pInfo->colnum, pRequest->requestvb))
            netsnmp_set_request_error(io_pRequestInfo, pRequest, SNMP_NOSUCHINSTANCE);
    }
    return SNMP_ERR_NOERROR;
}

int SnapshotTable::load(netsnmp_cache*, void* io_pTable)
{
    auto* const pTable = static_cast<SnapshotTable*>(io_pTable);
    pTable->clearRows();
    std::vector<std::uint32_t> vIndexes;
    pTable->reload(pTable->m_source.current(), vIndexes);
    for (std::size_t uiSlot = 0; uiSlot < vIndexes.size(); ++uiSlot) {
        netsnmp_tdata_row* const pRow = netsnmp_tdata_create_row();
        if (pRow == nullptr)
            return -1;
        pRow->data = reinterpret_cast<void*>(uiSlot + 1);
        const u_long ulIndex = vIndexes[uiSlot];
        netsnmp_tdata_row_add_index(pRow, ASN_UNSIGNED, &ulIndex, sizeof ulIndex);
        netsnmp_tdata_add_row(pTable->m_pData, pRow);
    }
    return 0;
}

void SnapshotTable::release(netsnmp_cache*, void* io_pTable) { static_cast<SnapshotTable*>(io_pTable)->clearRows(); }

void SnapshotTable::clearRows()
{
    if (m_pData == nullptr)
        return;
    while (netsnmp_tdata_row* const pRow = netsnmp_tdata_row_first(m_pData))
        netsnmp_tdata_remove_and_delete_row(m_pData, pRow);
}
