#pragma once
// Every value that a monitoring reader asks the module for, taken together by
// OAMManager::takeSnapshot: the OMs of the catalogue with their values, the alarm table, the alarm
// colour, the CPU monitor's average, the memory accounts and the administration traffic.

#include <chrono>
#include <string>
#include <vector>

#include "host/core/Fallible.h"
#include "host/core/MemAccountInfo.h"
#include "host/core/ParameterValue.h"
#include "oam/alarm/AlarmStateAppender.h"
#include "oam/manager/OAMTrafficCounters.h"
#include "oam/om/OMDescription.h"

struct OAMSnapshot
{
    struct OM
    {
        OMDescription description;
        // Invalid when the OM could not be read.
        Fallible<ParameterValue> value;
    };
    struct AlarmEntry
    {
        std::string strName;
        bool bRaised = false;
        // When the manager heard that it was raised; meaningful only while raised.
        std::chrono::system_clock::time_point raisedAt;
    };

    // In catalogue order: the manager's own, then each reporter's in registration order.
    std::vector<OM> vOMs;
    // Every defined alarm, in the order of definition.
    std::vector<AlarmEntry> vAlarms;
    AlarmStateAppender::AlarmState alarmColour = AlarmStateAppender::GREEN;
    // From 0 to 1; invalid while the monitor does not run.
    Fallible<double> cpuUsageRatio;
    MemAccountInfoHash memAccounts;
    OAMTrafficCounters::Figures traffic;
};
