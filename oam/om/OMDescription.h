#pragma once
// What the OM catalogue says of one OM: its name, whether its value is a number or a text, and one
// line of help for whoever lists it.

#include <string>

struct OMDescription
{
    enum Kind
    {
        NUMERIC,
        TEXT
    };

    std::string strName;
    Kind kind = TEXT;
    std::string strHelp;
};
