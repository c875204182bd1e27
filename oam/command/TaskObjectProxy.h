#pragma once
// The base of the proxies handed to other tasks, and of the method objects by which a proxy's
// answers reach the object it stands for on the owning task's thread.

#include <cstdint>

#include <ace/Method_Request.h>

#include "host/thread/MOCallStatus.h"
#include "host/thread/TaskObjectProxyNoT.h"
#include "oam/command/TaskObjectContainer.h"

template <class T>
class TaskObjectProxy : public TaskObjectProxyNoT
{
  public:
    using ObjPtr = CountedObjPtr<T, ReferenceCount>;

    using TaskObjectProxyNoT::TaskObjectProxyNoT;

    // Names the object by the proxy's identifier in its container; built on any thread.
    class ProxyData_MO : public ACE_Method_Request
    {
      protected:
        ProxyData_MO(TaskObjectContainer<T>& in_container, std::uint64_t in_ulProxyId)
            : m_container(in_container), m_ulProxyId(in_ulProxyId)
        {
        }

        TaskObjectContainer<T>& m_container;
        const std::uint64_t m_ulProxyId;
    };

    // Runs on the owning task's thread. An answer whose registration is gone is dropped.
    class MethodObject : public ProxyData_MO
    {
      public:
        ~MethodObject() override = default;

        int call() override
        {
            ObjPtr pObj = this->m_container.getObject(this->m_ulProxyId);
            if (pObj.isNull())
                return MO_CALL_SUCCESS;
            return callOnObject_i(*pObj);
        }

      protected:
        using ProxyData_MO::ProxyData_MO;
        virtual MOCallStatus callOnObject_i(T& io_obj) = 0;
    };
};
