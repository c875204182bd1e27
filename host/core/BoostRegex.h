#pragma once
// A compiled regular expression over Boost.Regex.
//
// Both calls report failure by throwing std::runtime_error with the library's own message:
// the constructor for a malformed pattern (boost::regex_error), regex_search when the engine
// gives up on a match that grows too complex (catastrophic backtracking on a long text) or runs
// out of its memory. Boost bounds the work of one search, so a search ends instead of hanging.

#include <string>

#include <boost/regex.hpp>

// A compiled expression is only read by a search, so one may be shared by threads once built.
class BoostRegex : public boost::regex
{
  public:
    // in_uiFlags are Boost's syntax flags; 0 is boost::regex::normal (Perl syntax, case-sensitive).
    BoostRegex(const char* in_szPattern, unsigned int in_uiFlags);

    // True when the expression is found anywhere in the text.
    static bool regex_search(const std::string& in_strText, const BoostRegex& in_regex);
};
