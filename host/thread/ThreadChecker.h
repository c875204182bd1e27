#pragma once
// Which thread may run a task's own code (its _i bodies, handlers, pools). The task's thread binds
// the checker as its first act and releases it as its last, so that while it is unbound every
// thread passes: the host builds, sets up and registers a task on its own thread before start,
// and destroys it after the thread has ended.
//
//     LH_CHECK_THREAD(checker);   // any checker
//     LH_CHECK_TASK_THREAD();     // inside a task: the task's own checker
//
// Both vanish in release builds. A failed check aborts, naming the place.

#include <atomic>
#include <thread>

// Called on any thread.
class ThreadChecker
{
  public:
    void bindToCurrentThread();
    void release();
    // True while unbound, or on the bound thread.
    bool isOnBoundThread() const;
    // True only on the bound thread.
    bool isBoundToCurrentThread() const;
    void check(const char* in_szFile, int in_nLine) const;

  private:
    // Stored with release and read with acquire, so the bound id is seen with what preceded it.
    std::atomic<std::thread::id> m_boundThread{std::thread::id()};
};

#ifdef NDEBUG
#define LH_CHECK_THREAD(checker) ((void)0)
#else
#define LH_CHECK_THREAD(checker) (checker).check(__FILE__, __LINE__)
#endif
#define LH_CHECK_TASK_THREAD() LH_CHECK_THREAD(this->getThreadChecker())
