#pragma once
// A set of CPUs written as taskset(1) and systemd's CPUAffinity= write them ("0-3,6"), and the
// confinement of the calling thread to it. Any thread.

#include <sched.h>

#include <string>

class CpuSet
{
  public:
    // False, with the reason, for a text that is not such a list.
    static bool parse(const std::string& in_strList, CpuSet& out_set, std::string& out_strError);

    // From now on the calling thread runs on these CPUs only (those of them the process may use);
    // false, with the reason, when the system refuses, leaving the thread where it was.
    bool confineCallingThread(std::string& out_strError) const;

  private:
    cpu_set_t m_cpus{};
};
