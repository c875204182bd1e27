#pragma once
// Reuses the per-request objects of a task (state machines of a fan-out), and finds them again by
// the identifiers of the proxies that other tasks answer through. An object goes back to the pool
// once the last proxy registration for it is removed and nobody else holds it, so the pool grows
// only to the largest number of requests in flight at once. Task thread only: nothing is locked.

#include <cstdint>
#include <memory>
#include <stack>
#include <vector>

#include "host/core/Assertion.h"
#include "host/core/TraceScope.h"
#include "host/thread/StackIDGenerator.h"
#include "host/thread/TaskObjectPoolNoT.h"
#include "oam/command/TaskObjectContainer.h"

template <class T>
class TaskObjectPool : public TaskObjectPoolNoT
{
  public:
    using ObjPtr = CountedObjPtr<T, ReferenceCount>;

    // One block of identifier bookkeeping: the object registered for each live proxy.
    class ProxyData : public TaskObjectContainer<T>
    {
      public:
        ProxyData(TaskObjectPool& io_pool, std::uint64_t in_ulBlockNumber)
            : m_idGenerator(false), m_pPool(&io_pool), m_ulBlockNumber(in_ulBlockNumber)
        {
        }
        ~ProxyData() override
        {
            LH_TRACE(getLogger(), "destroying proxy " << m_ulBlockNumber);
            m_objVector.clear();
            LH_TRACE(getLogger(), "m_objVector cleared for proxy " << m_ulBlockNumber);
        }
        ProxyData(const ProxyData&) = delete;
        ProxyData& operator=(const ProxyData&) = delete;

        ObjPtr getObject(std::uint64_t in_objectID) override
        {
            return in_objectID < m_objVector.size() ? m_objVector[in_objectID] : ObjPtr();
        }

        void setObject(std::uint64_t in_objectID, const ObjPtr& in_pObj) override
        {
            Assertion(!in_pObj.isNull(), "! in_pObj.isNull()", __FILE__, __LINE__, getLogger());
            if (in_objectID < m_objVector.size())
                m_pPool->takeBack(m_objVector[in_objectID]);
            else
                m_objVector.resize(in_objectID + 1);
            m_objVector[in_objectID] = in_pObj;
        }

        void removeObject(std::uint64_t in_objectID) override
        {
            if (in_objectID >= m_objVector.size())
                return;
            m_pPool->takeBack(m_objVector[in_objectID]);
            Assertion(m_objVector[in_objectID].isNull(), "m_objVector[in_objectID].isNull()", __FILE__, __LINE__,
                      getLogger());
        }

        IDGenerator& getIDGenerator() { return m_idGenerator; }

        // The steps of a task's proxyDestruction_i, whatever its T. The gone proxy's registration is
        // cleared before its identifier is given back, so that a proxy drawing the identifier anew
        // never meets the old registration. Once no proxy holds the object, no answer can reach it:
        // it gives up an outcome still owed (T::proxiesGone), so that nobody waits for one, and is
        // idle again, which in_debugLogger is told. False, with the assertion in_szNullCondition on
        // in_assertLogger, when nothing was registered under the identifier.
        bool releaseProxy(std::uint64_t in_ulProxyId, const char* in_szNullCondition, const Logger& in_assertLogger,
                          const Logger& in_debugLogger)
        {
            ObjPtr pObj = getObject(in_ulProxyId);
            removeObject(in_ulProxyId);
            m_idGenerator.takeBack(in_ulProxyId);
            if (in_ulProxyId < m_vAbandoned.size() && m_vAbandoned[in_ulProxyId]) {
                m_vAbandoned[in_ulProxyId] = false;
                return true;
            }
            if (!Assertion(!pObj.isNull(), in_szNullCondition, __FILE__, __LINE__, in_assertLogger))
                return false;
            if (pObj.unique()) {
                pObj->proxiesGone();
                LH_DEBUG(in_debugLogger, "Pool took back a " << T::MEM_ACCOUNT_NAME);
                m_pPool->takeBack(pObj);
            }
            return true;
        }

        // Every object for which in_bGone holds gives up the outcome it owes and goes back to the
        // pool now, although proxies still stand for it: their answers find nothing registered, and
        // their identifiers are given back when they go.
        template <class Predicate>
        void abandonIf(Predicate in_bGone)
        {
            for (ObjPtr& pRegistered : m_objVector) {
                if (pRegistered.isNull() || !in_bGone(*pRegistered))
                    continue;
                ObjPtr pObj = pRegistered;
                m_vAbandoned.resize(m_objVector.size());
                for (std::size_t ui = 0; ui < m_objVector.size(); ++ui) {
                    if (m_objVector[ui].get() == pObj.get()) {
                        m_objVector[ui].reset();
                        m_vAbandoned[ui] = true;
                    }
                }
                pObj->proxiesGone();
                m_pPool->takeBack(pObj);
            }
        }

        // As the task ends: every object still registered gives up the outcome it owes, so that
        // no caller waits across the stop.
        void giveUpAll()
        {
            for (ObjPtr& pObj : m_objVector)
                if (!pObj.isNull())
                    pObj->proxiesGone();
        }

        void releaseAllObjects()
        {
            TraceScope trace(getLogger(), "ProxyData::releaseAllObjects");
            for (ObjPtr& pObj : m_objVector)
                pObj.reset();
        }

      private:
        std::vector<ObjPtr> m_objVector; // indexed by proxy identifier
        std::vector<bool> m_vAbandoned;  // identifiers whose object went back before their proxy
        StackIDGenerator m_idGenerator;
        TaskObjectPool* m_pPool;
        std::uint64_t m_ulBlockNumber;
    };

    explicit TaskObjectPool(std::uint64_t in_ulNumProxyData)
    {
        TraceScope trace(getLogger(), "TaskObjectPool<T>::TaskObjectPool");
        for (std::uint64_t ul = 0; ul < in_ulNumProxyData; ++ul)
            m_vProxyData.push_back(std::make_unique<ProxyData>(*this, ul));
    }

    ~TaskObjectPool() override
    {
        TraceScope trace(getLogger(), "TaskObjectPool<T>::~TaskObjectPool");
        clear();
    }

    TaskObjectPool(const TaskObjectPool&) = delete;
    TaskObjectPool& operator=(const TaskObjectPool&) = delete;

    // An idle object as its last use left it (the caller re-arms it), or a new one.
    ObjPtr acquire()
    {
        if (m_unusedObjStack.empty())
            return ObjPtr(new T());
        ObjPtr pObj = m_unusedObjStack.top();
        m_unusedObjStack.pop();
        return pObj;
    }

    // Keeps the object for reuse when the caller's handle was the only one; the handle is let go
    // either way.
    bool takeBack(ObjPtr& io_pObj)
    {
        if (io_pObj.isNull() || !io_pObj.unique()) {
            io_pObj.reset();
            return false;
        }
        m_unusedObjStack.push(io_pObj);
        io_pObj.reset();
        Assertion(m_unusedObjStack.top().unique(), "m_unusedObjStack.top().unique()", __FILE__, __LINE__, getLogger());
        return true;
    }

    // Releases every idle and every registered object.
    void clear()
    {
        TraceScope trace(getLogger(), "TaskObjectPool<T>::clear");
        while (!m_unusedObjStack.empty())
            m_unusedObjStack.pop();
        for (const std::unique_ptr<ProxyData>& pProxyData : m_vProxyData)
            pProxyData->releaseAllObjects();
    }

    ProxyData& getProxyData(std::size_t in_uiBlock) { return *m_vProxyData[in_uiBlock]; }
    std::size_t getNumUnused() const { return m_unusedObjStack.size(); }

  private:
    std::stack<ObjPtr, std::vector<ObjPtr>> m_unusedObjStack; // last returned on top
    std::vector<std::unique_ptr<ProxyData>> m_vProxyData;
};
