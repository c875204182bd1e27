#include "host/core/StaticAccountMemAllocator.h"

#include <memory>
#include <mutex>
#include <unordered_map>

namespace {
struct AccountTable
{
    std::mutex m_mutex;
    std::unordered_map<std::string, std::unique_ptr<MemAccount>> m_accounts{100};
};

// Never destroyed: objects freed during exit still count themselves out.
AccountTable& accountTable()
{
    static AccountTable* s_pTable = new AccountTable();
    return *s_pTable;
}
} // namespace

MemAccount& StaticAccountMemAllocator::getAccount(const std::string& in_strName)
{
    AccountTable& table = accountTable();
    std::lock_guard<std::mutex> lock(table.m_mutex);
    std::unique_ptr<MemAccount>& pAccount = table.m_accounts[in_strName];
    if (!pAccount)
        pAccount = std::make_unique<MemAccount>(in_strName);
    return *pAccount;
}

bool StaticAccountMemAllocator::getMemAccountInfo(const std::string& in_strName, MemAccountInfo& out_info)
{
    AccountTable& table = accountTable();
    std::lock_guard<std::mutex> lock(table.m_mutex);
    const auto found = table.m_accounts.find(in_strName);
    if (found == table.m_accounts.end())
        return false;
    out_info = found->second->getInfo();
    return true;
}

bool StaticAccountMemAllocator::getMemAccountInfo(MemAccountInfoHash& out_hash)
{
    AccountTable& table = accountTable();
    std::lock_guard<std::mutex> lock(table.m_mutex);
    MemAccountInfoHash::Map& accounts = out_hash.getAccounts();
    accounts.clear();
    for (const auto& account : table.m_accounts)
        accounts.emplace(account.first, account.second->getInfo());
    return true;
}
