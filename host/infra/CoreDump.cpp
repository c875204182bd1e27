#include "host/infra/CoreDump.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <elf.h>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

#include "host/core/AceCleanupLogger.h"
#include "host/infra/CoreImage.h"

namespace {
// Room for the threads that start while the others are being stopped.
constexpr std::size_t SPARE_THREADS = 256;

const Logger& coreDumpLogger()
{
    return AceCleanupLogger::get("linkhaven.infra.CoreDump");
}

std::string errorText(int in_nError)
{
    return std::system_category().message(in_nError);
}

bool failed(const std::string& in_strPath, const std::string& in_strReason)
{
    LH_ERROR(coreDumpLogger(), "dumpCore : cannot write a core image to " << in_strPath << ": " << in_strReason);
    return false;
}

class Descriptor
{
  public:
    explicit Descriptor(int in_fd) : m_fd(in_fd) {}
    ~Descriptor()
    {
        if (m_fd != -1)
            close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }

  private:
    int m_fd;
};

// What the tracer tells the dumping thread once every other thread is stopped, or why not.
struct StopReport
{
    int nError;
    std::size_t nThreads;
};

// The registers of the stopped threads, written by the tracer and read by the copy that writes the
// image: shared between the processes, and left out of the image itself.
class SharedThreads
{
  public:
    explicit SharedThreads(std::size_t in_nCapacity)
        : m_nCapacity(in_nCapacity), m_nBytes(in_nCapacity * (sizeof(ThreadRegisters) + sizeof(int))),
          m_pMemory(mmap(nullptr, m_nBytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0))
    {
        if (m_pMemory != MAP_FAILED)
            madvise(m_pMemory, m_nBytes, MADV_DONTDUMP);
    }
    ~SharedThreads()
    {
        if (m_pMemory != MAP_FAILED)
            munmap(m_pMemory, m_nBytes);
    }
    SharedThreads(const SharedThreads&) = delete;
    SharedThreads& operator=(const SharedThreads&) = delete;

    bool valid() const { return m_pMemory != MAP_FAILED; }
    std::size_t capacity() const { return m_nCapacity; }
    ThreadRegisters* threads() const { return static_cast<ThreadRegisters*>(m_pMemory); }
    // The signal each thread was stopped with, given back when it is let go.
    int* signals() const { return reinterpret_cast<int*>(threads() + m_nCapacity); }

  private:
    std::size_t m_nCapacity;
    std::size_t m_nBytes;
    void* m_pMemory;
};

long rawTrace(int in_request, pid_t in_tid, void* in_pData)
{
    return syscall(SYS_ptrace, in_request, in_tid, nullptr, in_pData);
}

bool traced(pid_t in_tid, const SharedThreads& in_shared, std::size_t in_nThreads)
{
    for (std::size_t n = 1; n < in_nThreads; ++n)
        if (in_shared.threads()[n].tid == in_tid)
            return true;
    return false;
}

// Asks a thread to stop, which it does when it next runs: all are asked before any is waited for, so
// that they stop together. 0, ESRCH when it is gone, or the error.
int interrupt(pid_t in_tid)
{
    return rawTrace(PTRACE_SEIZE, in_tid, nullptr) != 0 || rawTrace(PTRACE_INTERRUPT, in_tid, nullptr) != 0 ? errno : 0;
}

// Waits for the thread of a slot to stop and takes its registers; 0, ESRCH when it ended first, or the error.
int takeRegisters(const SharedThreads& io_shared, std::size_t in_nSlot)
{
    ThreadRegisters& thread = io_shared.threads()[in_nSlot];
    int nStatus = 0;
    while (syscall(SYS_wait4, thread.tid, &nStatus, __WALL, nullptr) == -1)
        if (errno != EINTR)
            return errno;
    if (!WIFSTOPPED(nStatus))
        return ESRCH;
    // A signal that arrived meanwhile is delivered when the thread goes on.
    io_shared.signals()[in_nSlot] = (nStatus >> 16) == 0 ? WSTOPSIG(nStatus) : 0;
    if (rawTrace(PTRACE_GETREGS, thread.tid, &thread.regs) != 0 || rawTrace(PTRACE_GETFPREGS, thread.tid, &thread.fpregs) != 0)
        return errno;
    return 0;
}

// Stops every thread of in_process but in_dumper, into slots 1 onwards, looking again for threads
// started meanwhile until none is new.
StopReport stopOtherThreads(pid_t in_process, pid_t in_dumper, const SharedThreads& io_shared)
{
    char szTasks[32];
    std::snprintf(szTasks, sizeof(szTasks), "/proc/%d/task", in_process);
    const long fdTasks = syscall(SYS_openat, AT_FDCWD, szTasks, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdTasks < 0)
        return {errno, 1};
    StopReport report{0, 1};
    for (bool bNew = true; bNew && report.nError == 0;) {
        const std::size_t nFirstNew = report.nThreads;
        syscall(SYS_lseek, fdTasks, 0, SEEK_SET);
        alignas(8) char entries[4096];
        for (long nRead; report.nError == 0 && (nRead = syscall(SYS_getdents64, fdTasks, entries, sizeof(entries))) > 0;) {
            for (long nAt = 0; nAt < nRead && report.nError == 0;) {
                const auto* pEntry = reinterpret_cast<const struct dirent64*>(entries + nAt);
                nAt += pEntry->d_reclen;
                const pid_t tid = static_cast<pid_t>(std::strtol(pEntry->d_name, nullptr, 10));
                if (tid <= 0 || tid == in_dumper || traced(tid, io_shared, report.nThreads))
                    continue;
                const int nError = report.nThreads == io_shared.capacity() ? EOVERFLOW : interrupt(tid);
                if (nError == 0)
                    io_shared.threads()[report.nThreads++].tid = tid;
                report.nError = nError == ESRCH ? 0 : nError;
            }
        }
        std::size_t nStopped = nFirstNew;
        for (std::size_t n = nFirstNew; n < report.nThreads && report.nError == 0; ++n) {
            io_shared.threads()[nStopped].tid = io_shared.threads()[n].tid;
            const int nError = takeRegisters(io_shared, nStopped);
            nStopped += nError == 0 ? 1 : 0;
            report.nError = nError == ESRCH ? 0 : nError;
        }
        bNew = report.nThreads > nFirstNew;
        report.nThreads = nStopped;
    }
    syscall(SYS_close, fdTasks);
    return report;
}

// The tracer, a child process: stops the other threads, tells the dumper, and lets them go on once
// the dumper has forked the copy that writes the image, or has given up.
[[noreturn]] void traceAndExit(pid_t in_process, pid_t in_dumper, const SharedThreads& io_shared, int in_fdReport,
                               int in_fdRelease)
{
    const StopReport report = stopOtherThreads(in_process, in_dumper, io_shared);
    syscall(SYS_write, in_fdReport, &report, sizeof(report));
    char release = 0;
    syscall(SYS_read, in_fdRelease, &release, 1);
    for (std::size_t n = 1; n < report.nThreads; ++n)
        rawTrace(PTRACE_DETACH, io_shared.threads()[n].tid, reinterpret_cast<void*>(static_cast<long>(io_shared.signals()[n])));
    syscall(SYS_exit_group, 0);
    __builtin_unreachable();
}

// Why the child failed, or nothing. Nothing either when it was reaped elsewhere (by the kernel when
// the host ignores SIGCHLD, or by the host's own handler): the image alone tells then.
std::string childFailure(pid_t in_child)
{
    int nStatus = 0;
    pid_t waited = -1;
    do
        waited = waitpid(in_child, &nStatus, 0);
    while (waited == -1 && errno == EINTR);
    if (waited != in_child || (WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0))
        return "";
    return WIFEXITED(nStatus) ? errorText(WEXITSTATUS(nStatus))
                              : "the copy writing it ended with signal " + std::to_string(WTERMSIG(nStatus));
}

bool isCoreImage(int in_fdImage)
{
    Elf64_Ehdr header{};
    return pread(in_fdImage, &header, sizeof(header), 0) == static_cast<ssize_t>(sizeof(header)) &&
           std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 && header.e_type == ET_CORE;
}

std::size_t threadCount()
{
    std::error_code error;
    const std::filesystem::directory_iterator tasks("/proc/self/task", error);
    return static_cast<std::size_t>(std::distance(begin(tasks), end(tasks)));
}

// The threads are stopped only while the process is forked: the copy, which has the memory as it was
// then and the registers that the tracer took, writes the image while the process goes on.
// Why no image was written, or nothing.
std::string writeImage(int in_fdImage)
{
    const SharedThreads shared(threadCount() + SPARE_THREADS);
    int reportPipe[2];
    int releasePipe[2];
    if (!shared.valid() || pipe2(reportPipe, O_CLOEXEC) != 0)
        return "cannot prepare the dump: " + errorText(errno);
    const Descriptor reportRead(reportPipe[0]), reportWrite(reportPipe[1]);
    if (pipe2(releasePipe, O_CLOEXEC) != 0)
        return "cannot prepare the dump: " + errorText(errno);
    const Descriptor releaseRead(releasePipe[0]), releaseWrite(releasePipe[1]);
    const pid_t process = getpid();
    const pid_t dumper = static_cast<pid_t>(syscall(SYS_gettid));
    shared.threads()[0].tid = dumper;

    const pid_t tracer = fork();
    if (tracer == -1)
        return "cannot start the tracer: " + errorText(errno);
    if (tracer == 0)
        traceAndExit(process, dumper, shared, reportWrite.get(), releaseRead.get());

    // From here until the release only system calls: a stopped thread may hold any lock.
    StopReport report{EPIPE, 0};
    syscall(SYS_read, reportRead.get(), &report, sizeof(report));
    const pid_t copy = report.nError == 0 ? static_cast<pid_t>(syscall(SYS_fork)) : -1;
    if (copy == 0)
        writeCoreImageAndExit(in_fdImage, process, shared.threads(), report.nThreads);
    const int nForkError = errno;
    syscall(SYS_write, releaseWrite.get(), "", 1);

    childFailure(tracer);
    if (report.nError != 0)
        return "cannot stop the threads: " + errorText(report.nError);
    if (copy == -1)
        return "cannot copy the process: " + errorText(nForkError);
    const std::string strFailure = childFailure(copy);
    return !strFailure.empty() || isCoreImage(in_fdImage) ? strFailure : "the image is incomplete";
}
// Names the whole image without replacing a file that appeared meanwhile: by a second link where the
// file system cannot rename so.
bool nameImage(const std::string& in_strTemporary, const std::string& in_strPath)
{
    if (renameat2(AT_FDCWD, in_strTemporary.c_str(), AT_FDCWD, in_strPath.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL || link(in_strTemporary.c_str(), in_strPath.c_str()) != 0)
        return false;
    unlink(in_strTemporary.c_str());
    return true;
}
} // namespace

bool dumpCore(const std::string& in_strPath)
{
    // One dump at a time: each one withdraws the tracing permission that it gave.
    static std::mutex dumping;
    const std::lock_guard<std::mutex> lock(dumping);

    struct stat existing;
    if (lstat(in_strPath.c_str(), &existing) == 0)
        return failed(in_strPath, errorText(EEXIST));
    // Written beside the path and named so only once whole: a failed dump leaves nothing behind.
    std::string strTemporary = in_strPath + ".XXXXXX";
    const Descriptor image(mkostemp(&strTemporary[0], O_CLOEXEC));
    if (image.get() == -1)
        return failed(in_strPath, errorText(errno));
    // Fails harmlessly where the kernel has no such restriction.
    prctl(PR_SET_PTRACER, getpid(), 0, 0, 0);
    std::string strFailure = writeImage(image.get());
    // The kernel cannot tell a previous declaration and the gateway makes no other: none is the default.
    prctl(PR_SET_PTRACER, 0, 0, 0, 0);
    if (strFailure.empty() && !nameImage(strTemporary, in_strPath))
        strFailure = errorText(errno);
    if (strFailure.empty())
        return true;
    unlink(strTemporary.c_str());
    return failed(in_strPath, strFailure);
}
