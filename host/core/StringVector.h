#pragma once

#include <string>
#include <vector>

using StringVector = std::vector<std::string>;
