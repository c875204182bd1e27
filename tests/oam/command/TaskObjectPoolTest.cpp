#include <gtest/gtest.h>

#include "host/core/Assertion.h"
#include "host/core/MemAccounted.h"
#include "host/thread/ActivationQueue.h"
#include "oam/command/TaskObjectPool.h"
#include "oam/command/TaskObjectProxy.h"

namespace {

struct Request : public MemAccounted<Request>
{
    static constexpr const char* MEM_ACCOUNT_NAME = "TaskObjectPoolTest::Request";
    int nCalls = 0;
};

using Pool = TaskObjectPool<Request>;

class CallRequest_MO : public TaskObjectProxy<Request>::MethodObject
{
  public:
    CallRequest_MO(TaskObjectContainer<Request>& in_container, std::uint64_t in_ulProxyId)
        : MethodObject(in_container, in_ulProxyId)
    {
    }

  protected:
    MOCallStatus callOnObject_i(Request& io_request) override
    {
        ++io_request.nCalls;
        return MO_CALL_FAILURE;
    }
};

} // namespace

TEST(TaskObjectPool, AcquireReusesWhatWasTakenBackAndRefusesSharedHandles)
{
    Pool pool(1);
    Pool::ObjPtr pFirst = pool.acquire();
    Request* pRaw = pFirst.get();
    Pool::ObjPtr pOther = pFirst;
    EXPECT_FALSE(pool.takeBack(pFirst));
    EXPECT_TRUE(pFirst.isNull());
    EXPECT_EQ(pool.getNumUnused(), 0u);

    EXPECT_TRUE(pool.takeBack(pOther));
    EXPECT_EQ(pool.getNumUnused(), 1u);
    EXPECT_EQ(pool.acquire().get(), pRaw);
    Pool::ObjPtr pNull;
    EXPECT_FALSE(pool.takeBack(pNull));
}

TEST(TaskObjectPool, RegistrationFarBeyondTheEndGrowsWithNullsBetween)
{
    Pool pool(1);
    Pool::ProxyData& data = pool.getProxyData(0);
    Pool::ObjPtr pRequest = pool.acquire();
    data.setObject(40, pRequest);
    EXPECT_EQ(data.getObject(40).get(), pRequest.get());
    for (std::uint64_t id : {0u, 1u, 39u, 41u, 1000u})
        EXPECT_TRUE(data.getObject(id).isNull()) << id;
    data.removeObject(1000); // beyond the end: ignored

    AssertionCapture assertions;
    data.setObject(3, Pool::ObjPtr());
    EXPECT_EQ(assertions.conditions(), (StringVector{"! in_pObj.isNull()"}));
}

TEST(TaskObjectPool, ObjectIsIdleOnceItsLastRegistrationAndHandleAreGone)
{
    Pool pool(1);
    Pool::ProxyData& data = pool.getProxyData(0);
    Pool::ObjPtr pRequest = pool.acquire();
    for (std::uint64_t id : {0u, 1u, 2u})
        data.setObject(id, pRequest);
    pRequest.reset();
    data.removeObject(0);
    data.removeObject(1);
    EXPECT_EQ(pool.getNumUnused(), 0u);
    data.removeObject(2);
    EXPECT_EQ(pool.getNumUnused(), 1u);
    EXPECT_TRUE(data.getObject(2).isNull());
}

TEST(TaskObjectPool, MethodObjectForARemovedRegistrationCallsNothing)
{
    Pool pool(1);
    Pool::ProxyData& data = pool.getProxyData(0);
    Pool::ObjPtr pRequest = pool.acquire();
    data.setObject(5, pRequest);

    CallRequest_MO found(data, 5);
    EXPECT_EQ(found.call(), MO_CALL_FAILURE);
    EXPECT_EQ(pRequest->nCalls, 1);

    data.removeObject(5);
    CallRequest_MO dropped(data, 5);
    EXPECT_EQ(dropped.call(), MO_CALL_SUCCESS);
    EXPECT_EQ(pRequest->nCalls, 1);
}
