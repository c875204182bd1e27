#include "oam/snmp/DateAndTime.h"

#include <ctime>

std::string encodeDateAndTime(std::chrono::system_clock::time_point in_time)
{
    const auto sinceEpoch = in_time.time_since_epoch();
    const std::time_t seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count();
    const auto deciSeconds = std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000 / 100;
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    const int nYear = utc.tm_year + 1900;
    return std::string{static_cast<char>(nYear >> 8),
                       static_cast<char>(nYear & 0xff),
                       static_cast<char>(utc.tm_mon + 1),
                       static_cast<char>(utc.tm_mday),
                       static_cast<char>(utc.tm_hour),
                       static_cast<char>(utc.tm_min),
                       static_cast<char>(utc.tm_sec),
                       static_cast<char>(deciSeconds),
                       '+',
                       0,
                       0};
}
