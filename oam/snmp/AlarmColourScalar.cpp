#include "oam/snmp/AlarmColourScalar.h"

#include "oam/snmp/OamMib.h"
#include "oam/snmp/SnapshotSource.h"

bool AlarmColourScalar::registerScalar()
{
    m_pRegistration = netsnmp_create_handler_registration("lhAlarmColour", &AlarmColourScalar::handle,
                                                          OamMib::ALARM_COLOUR, OID_LENGTH(OamMib::ALARM_COLOUR),
                                                          HANDLER_CAN_RONLY);
    if (m_pRegistration == nullptr)
        return false;
    m_pRegistration->my_reg_void = this;
    if (netsnmp_register_scalar(m_pRegistration) != MIB_REGISTERED_OK) {
        m_pRegistration = nullptr;
        return false;
    }
    return true;
}

void AlarmColourScalar::unregisterScalar()
{
    if (m_pRegistration != nullptr)
        netsnmp_unregister_handler(m_pRegistration);
    m_pRegistration = nullptr;
}

int AlarmColourScalar::handle(netsnmp_mib_handler*, netsnmp_handler_registration* io_pRegistration,
                              netsnmp_agent_request_info* io_pRequestInfo, netsnmp_request_info* io_pRequests)
{
    if (io_pRequestInfo->mode != MODE_GET)
        return SNMP_ERR_NOERROR;
    auto* const pScalar = static_cast<AlarmColourScalar*>(io_pRegistration->my_reg_void);
    // green(1) to red(4): the manager's colours counted from 1.
    const long lColour = pScalar->m_source.current().alarmColour + 1;
    snmp_set_var_typed_value(io_pRequests->requestvb, ASN_INTEGER, &lColour, sizeof lColour);
    return SNMP_ERR_NOERROR;
}
