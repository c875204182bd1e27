#pragma once
// lhAlarmColour: the manager's alarm colour, from the same snapshot as the tables.
//
// The subagent's thread only.

#include "oam/snmp/NetSnmp.h"

class SnapshotSource;

class AlarmColourScalar
{
  public:
    explicit AlarmColourScalar(SnapshotSource& io_source) : m_source(io_source) {}
    ~AlarmColourScalar() { unregisterScalar(); }
    AlarmColourScalar(const AlarmColourScalar&) = delete;
    AlarmColourScalar& operator=(const AlarmColourScalar&) = delete;

    // As SnapshotTable's.
    bool registerScalar();
    void unregisterScalar();

  private:
    static int handle(netsnmp_mib_handler* io_pHandler, netsnmp_handler_registration* io_pRegistration,
                      netsnmp_agent_request_info* io_pRequestInfo, netsnmp_request_info* io_pRequests);

    SnapshotSource& m_source;
    netsnmp_handler_registration* m_pRegistration = nullptr;
};
