#pragma once
// The index of each name in a table of LINKHAVEN-OAM-MIB: given at first sight, from 1 up, and never
// changed nor given again for the life of the process, whatever comes and goes.
//
// The subagent's thread only.

#include <cstdint>
#include <string>
#include <unordered_map>

class NameIndexes
{
  public:
    std::uint32_t indexOf(const std::string& in_strName)
    {
        return m_indexes.emplace(in_strName, static_cast<std::uint32_t>(m_indexes.size() + 1)).first->second;
    }

  private:
    std::unordered_map<std::string, std::uint32_t> m_indexes;
};
