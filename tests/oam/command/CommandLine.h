#pragma once
// A command as an operator types it: its name, then its arguments, split at spaces.

#include <sstream>
#include <string>

#include "oam/command/SoapOAMCommand.h"

inline SoapOAMCommand commandLine(const std::string& in_strLine)
{
    SoapOAMCommand cmd;
    std::istringstream words(in_strLine);
    std::string strWord;
    words >> strWord;
    cmd.setName(strWord.c_str());
    while (words >> strWord)
        cmd.pushBackArg(strWord.c_str());
    return cmd;
}
