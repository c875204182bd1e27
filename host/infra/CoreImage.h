#pragma once

#include <cstddef>
#include <sys/types.h>
#include <sys/user.h>

// One thread of an image, as the kernel's tracing interface gives it.
struct ThreadRegisters
{
    pid_t tid;
    user_regs_struct regs;
    user_fpregs_struct fpregs;
};

// Run in a copy of the process forked while its other threads were stopped: writes that copy's memory
// to in_fdImage as an ELF core image of in_process, with in_pThreads[1..in_nThreads) as those threads
// and the calling thread, registered as in_pThreads[0].tid, first. Ends the copy: status 0 once the
// image is whole, else the error number. The ELF header is written last, so an image with one is whole.
// Only raw system calls: a stopped thread may have held the allocator's lock or a sanitizer's at the fork.
[[noreturn]] void writeCoreImageAndExit(int in_fdImage, pid_t in_process, ThreadRegisters* in_pThreads,
                                        std::size_t in_nThreads);
