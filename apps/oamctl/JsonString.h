#pragma once
// A text as a JSON string: quoted, with quotes, backslashes and control characters escaped. Bytes
// from 0x80 up pass as they are, so UTF-8 stays UTF-8.

#include <string>

std::string jsonString(const std::string& in_strText);
