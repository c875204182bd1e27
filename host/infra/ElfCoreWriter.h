#pragma once
// Writes an ELF core image of the calling process to a file descriptor. It uses system calls
// and memory of its own mapping only (no heap, no locks), so that it may run in the child of a
// fork() taken in a multi-threaded process.

#include <sys/types.h>
#include <ucontext.h>

class ElfCoreWriter
{
  public:
    // in_imagePid and in_imageTid name the process and thread the image stands for: the parent
    // of the fork, not the child that writes it.
    ElfCoreWriter(int in_fd, pid_t in_imagePid, pid_t in_imageTid, pid_t in_imagePpid, long in_lPageSize);

    // The registers are those of in_context, which must stay on the stack while writing.
    bool write(const ucontext_t& in_context);

  private:
    const int m_fd;
    const pid_t m_imagePid;
    const pid_t m_imageTid;
    const pid_t m_imagePpid;
    const long m_lPageSize;
};
