#include "apps/oamctl/JsonString.h"

#include <cstdio>

std::string jsonString(const std::string& in_strText)
{
    std::string strJson = "\"";
    for (const char c : in_strText) {
        switch (c) {
        case '"':
            strJson += "\\\"";
            break;
        case '\\':
            strJson += "\\\\";
            break;
        case '\n':
            strJson += "\\n";
            break;
        case '\r':
            strJson += "\\r";
            break;
        case '\t':
            strJson += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char szEscape[7];
                std::snprintf(szEscape, sizeof szEscape, "\\u%04x", static_cast<unsigned>(c));
                strJson += szEscape;
            } else {
                strJson += c;
            }
        }
    }
    return strJson + "\"";
}
