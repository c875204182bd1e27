#include "oam/command/ExecCmd_MO.h"

OAMCmdExecuterTaskImpl::ExecCmd_MO::ExecCmd_MO(OAMCmdExecuterTaskImpl& in_task, const OAMCommand& in_cmd,
                                               OAMCmdExecObserver* in_pObserver)
    : m_task(in_task), m_pCommand(in_cmd.clone()), m_pObserver(in_pObserver)
{
}

OAMCmdExecuterTaskImpl::ExecCmd_MO::~ExecCmd_MO() = default;

int OAMCmdExecuterTaskImpl::ExecCmd_MO::call()
{
    const bool bRouted = m_task.executeCommand_i(*m_pCommand, m_pObserver.release());
    m_pCommand.reset();
    return bRouted ? MO_CALL_SUCCESS : MO_CALL_FAILURE;
}
