#include "host/thread/ThreadChecker.h"

#include <cstdio>
#include <cstdlib>

void ThreadChecker::bindToCurrentThread()
{
    m_boundThread.store(std::this_thread::get_id(), std::memory_order_release);
}

void ThreadChecker::release()
{
    m_boundThread.store(std::thread::id(), std::memory_order_release);
}

bool ThreadChecker::isOnBoundThread() const
{
    const std::thread::id bound = m_boundThread.load(std::memory_order_acquire);
    return bound == std::thread::id() || bound == std::this_thread::get_id();
}

bool ThreadChecker::isBoundToCurrentThread() const
{
    return m_boundThread.load(std::memory_order_acquire) == std::this_thread::get_id();
}

void ThreadChecker::check(const char* in_szFile, int in_nLine) const
{
    if (isOnBoundThread())
        return;
    std::fprintf(stderr, "ThreadChecker: %s:%d runs off its task's thread\n", in_szFile, in_nLine);
    std::abort();
}
