#pragma once
// SNMPv2-TC's DateAndTime of a moment, in UTC: year (two octets, most significant first), month,
// day, hour, minutes, seconds, deci-seconds, then '+', 0, 0 for the offset from UTC. Any thread.

#include <chrono>
#include <string>

std::string encodeDateAndTime(std::chrono::system_clock::time_point in_time);
