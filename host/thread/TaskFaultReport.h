#pragma once
// What a task logs when a method object or a timer's callback throws: the thrower's description
// and the exception's text, at error level on the task's logger. The task then goes on with the
// next method object or expiry, so that one faulty handler does not take the process down.

#include <exception>
#include <string>
#include <typeinfo>

class Task;

// The readable name of a dynamic type, such as "OAMCmdExecuterTaskImpl::ExecCmd_MO".
std::string describeType(const std::type_info& in_type);

// Call from a catch block only: it rethrows the exception under way to read its text.
void reportTaskFault(const Task& in_task, const std::string& in_strWhat);
