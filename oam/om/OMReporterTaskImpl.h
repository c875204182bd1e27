#pragma once
// The OM-reporting part of a task: a table of handlers keyed by OM name, and the body that answers
// one request from it on the task's thread. The derived class brings the task (its thread, queue
// and name), fills the table, and implements getOM by queueing a GetOM_MO on its own queue.

#include <string>
#include <unordered_map>

#include "host/core/ParameterValue.h"
#include "host/thread/CountedObjPtr.h"
#include "host/thread/MOCallStatus.h"
#include "host/thread/ManageableTask.h"
#include "oam/om/OMObserver.h"
#include "oam/om/OMReporter.h"

class OMReporterTaskImpl : public virtual ManageableTask, public virtual OMReporter
{
  public:
    // Produces the value of one or more OMs. Task thread only.
    class OMHandler
    {
      public:
        virtual ~OMHandler() = default;
        // Fills the value and gives true, or gives false when it cannot be produced. The name asked
        // for is passed in, so that one handler may serve several names.
        virtual bool getOMValue(const char* in_szOMName, ParameterValue& out_value) = 0;
    };
    // A plain count: the table and its handlers are touched only on the task's thread once it runs.
    using OMHandlerPtr = CountedObjPtr<OMHandler, ReferenceCount>;
    // Names are compared exactly, case and all.
    using OMHash = std::unordered_map<std::string, OMHandlerPtr>;

    class GetOM_MO;

  protected:
    OMReporterTaskImpl() = default;
    // A copy shares the handlers of the original.
    OMReporterTaskImpl(const OMReporterTaskImpl&) = default;
    OMReporterTaskImpl& operator=(const OMReporterTaskImpl&) = default;
    ~OMReporterTaskImpl() override = default;

    // Task thread: answers one request from the table and deletes the observer, which belongs to
    // it. Success when the observer accepted the answer, whether or not the OM was found.
    MOCallStatus getOM_i(const char* in_szOMName, OMObserver* in_pObserver);

    // Filled by the derived class before start (an insert under a present name replaces its
    // handler); touched only on the task's thread once the task runs.
    OMHash m_OMHash;
};
