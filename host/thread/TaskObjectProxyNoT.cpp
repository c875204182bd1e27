#include "host/thread/TaskObjectProxyNoT.h"

#include "host/thread/IDGenerator.h"

TaskObjectProxyNoT::TaskObjectProxyNoT(IDGenerator& io_generator, ACE_Activation_Queue* in_pQueue)
    : m_ulProxyId(io_generator.getID()), m_pActivationQueue(in_pQueue)
{
}
