#include "host/thread/TaskObjectProxyNoT.h"

#include "host/thread/IDGenerator.h"

TaskObjectProxyNoT::TaskObjectProxyNoT(IDGenerator& io_generator, const ActivationQueue& in_queue)
    : m_ulProxyId(io_generator.getID()), m_pQueueLifeline(in_queue.getLifeline())
{
}
