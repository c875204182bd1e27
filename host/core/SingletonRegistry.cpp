#include "host/core/SingletonRegistry.h"

SingletonRegistry& SingletonRegistry::getInstance()
{
    static SingletonRegistry s_registry;
    return s_registry;
}

void* SingletonRegistry::registerSingleton(const std::string& in_strName, void* in_pObject, Deleter in_deleter,
                                           void* in_pDeleterArg)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Entry& entry : m_vEntries) {
        if (entry.strName == in_strName)
            return entry.pObject;
    }
    m_vEntries.push_back({in_strName, in_pObject, in_deleter, in_pDeleterArg});
    return in_pObject;
}

void* SingletonRegistry::find(const std::string& in_strName) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Entry& entry : m_vEntries) {
        if (entry.strName == in_strName)
            return entry.pObject;
    }
    return nullptr;
}

SingletonRegistry::~SingletonRegistry()
{
    for (auto entry = m_vEntries.rbegin(); entry != m_vEntries.rend(); ++entry) {
        if (entry->deleter != nullptr)
            entry->deleter(entry->pObject, entry->pDeleterArg);
    }
}
