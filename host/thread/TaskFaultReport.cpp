#include "host/thread/TaskFaultReport.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>

#include "host/core/AceCleanupLogger.h"
#include "host/core/LoggingIdLogger.h"
#include "host/core/ObjectWithLogger.h"
#include "host/thread/Task.h"

std::string describeType(const std::type_info& in_type)
{
    int nStatus = 0;
    std::unique_ptr<char, void (*)(void*)> pName(abi::__cxa_demangle(in_type.name(), nullptr, nullptr, &nStatus),
                                                 std::free);
    return nStatus == 0 && pName ? pName.get() : in_type.name();
}

void reportTaskFault(const Task& in_task, const std::string& in_strWhat)
{
    std::string strException;
    try {
        throw;
    } catch (const std::exception& e) {
        strException = e.what();
    } catch (...) {
        strException = "an exception that is not a std::exception";
    }
    // A task with a logger of its own logs there, with its logging id; any other on the framework's.
    const auto* pOwnLogger = dynamic_cast<const ObjectWithLogger<LoggingIdLogger>*>(&in_task);
    const Logger& logger =
        pOwnLogger ? static_cast<const Logger&>(pOwnLogger->getLogger()) : AceCleanupLogger::get("linkhaven.thread.Task");
    LH_ERROR(logger, "task " << in_task.getTaskName() << " : " << in_strWhat << " threw : " << strException);
}
