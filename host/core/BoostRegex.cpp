#include "host/core/BoostRegex.h"

BoostRegex::BoostRegex(const char* in_szPattern, unsigned int in_uiFlags)
    : boost::regex(in_szPattern, static_cast<boost::regex::flag_type>(in_uiFlags))
{
}

bool BoostRegex::regex_search(const std::string& in_strText, const BoostRegex& in_regex)
{
    return boost::regex_search(in_strText, static_cast<const boost::regex&>(in_regex));
}
