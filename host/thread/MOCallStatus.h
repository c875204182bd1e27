#pragma once
// What a method object's call() gives back to the task that runs it.

enum MOCallStatus
{
    MO_CALL_SUCCESS = 0,
    MO_CALL_FAILURE = 1, // the task's handleMOCallFailure runs
    MO_CALL_STOP = 2,    // the task starts stopping: handleMOCallStop runs
    MO_CALL_KILL = 3     // handleMOCallKill runs, then the task's thread ends at once
};
