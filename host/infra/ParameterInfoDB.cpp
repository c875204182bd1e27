#include "host/infra/ParameterInfoDB.h"

#include <mutex>

#include "host/core/LinkhavenException.h"

ParameterInfoDB& ParameterInfoDB::getNonConstInstance()
{
    static ParameterInfoDB* s_pDatabase = [] {
        auto* pDatabase = new ParameterInfoDB();
        pDatabase->defineParameter("linkhaven.run.mode", ParameterValue::STRING_TYPE, "production", false, false,
                                   false, "The gateway's run mode: production or maintenance.");
        // 30 s is long enough for a gateway with a few hundred channels to come up.
        pDatabase->defineParameter("linkhaven.startTimeoutSec", ParameterValue::INTEGER_TYPE, "30", false, false,
                                   false, "The time in seconds that the gateway's components are given to start.");
        return pDatabase;
    }();
    return *s_pDatabase;
}

void ParameterInfoDB::defineParameter(const char* in_szName, ParameterValue::Type in_type, const char* in_szDefault,
                                      bool in_bReadOnly, bool in_bMandatory, bool in_bSecret,
                                      const char* in_szDescription)
{
    const std::string strName = in_szName != nullptr ? in_szName : "";
    if (strName.empty())
        throw LinkhavenException("cannot define a parameter without a name");
    if (in_type != ParameterValue::STRING_TYPE && in_type != ParameterValue::INTEGER_TYPE &&
        in_type != ParameterValue::FLOATING_TYPE)
        throw LinkhavenException("parameter " + strName + ": invalid type " + std::to_string(in_type));

    ParameterInfo info;
    info.strName = strName;
    info.type = in_type;
    if (in_szDefault != nullptr && !info.defaultValue.initFromText(in_szDefault, in_type, false))
        throw LinkhavenException("parameter " + strName + ": default " + in_szDefault + " is not of its type");
    info.bReadOnly = in_bReadOnly;
    info.bMandatory = in_bMandatory;
    info.bSecret = in_bSecret;
    info.strDescription = in_szDescription != nullptr ? in_szDescription : "";

    std::unique_lock<std::shared_mutex> lock(m_mutex);
    const auto inserted = m_definitions.emplace(strName, info);
    if (!inserted.second && !(inserted.first->second == info))
        throw LinkhavenException("parameter " + strName + " is already defined otherwise");
}

bool ParameterInfoDB::getParameterInfo(const std::string& in_strName, ParameterInfo& out_info) const
{
    std::shared_lock<std::shared_mutex> lock(m_mutex);
    const auto found = m_definitions.find(in_strName);
    if (found == m_definitions.end())
        return false;
    out_info = found->second;
    return true;
}

StringVector ParameterInfoDB::getParameterNames() const
{
    std::shared_lock<std::shared_mutex> lock(m_mutex);
    StringVector names;
    names.reserve(m_definitions.size());
    for (const auto& definition : m_definitions)
        names.push_back(definition.first);
    return names;
}
