#pragma once
// Why the last synchronous call into a task gave false on this thread, so that the web service can
// say it in its fault. Each synchronous entry notes its failure on the caller's thread before it
// gives false; nothing crosses threads.

enum class SynchCallFailure
{
    NOT_QUEUED,    // the task would not take the request
    TIMED_OUT,     // no answer within the caller's time-out
    NO_ANSWER,     // the request was dropped, or asked of the task's own thread: no answer will come
    NO_VALUE       // an OM that nobody gave a value for
};

void noteSynchCallFailure(SynchCallFailure in_failure);
SynchCallFailure lastSynchCallFailure();
