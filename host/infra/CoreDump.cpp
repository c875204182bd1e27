#include "host/infra/CoreDump.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <sstream>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

#include "host/core/AceCleanupLogger.h"

extern char** environ;

namespace {
// gdb writes the image through this descriptor, so that its command parser never reads the path.
constexpr int IMAGE_FD = 3;

const Logger& coreDumpLogger()
{
    return AceCleanupLogger::get("linkhaven.infra.CoreDump");
}

// Closes the descriptor however the dump ends.
class Descriptor
{
  public:
    // Moved above the descriptors that gdb is given, which a daemon's closed standard streams would
    // otherwise make it reuse, so that laying out gdb's descriptors overwrites none of ours.
    explicit Descriptor(int in_fd) : m_fd(in_fd)
    {
        if (m_fd != -1 && m_fd <= IMAGE_FD) {
            m_fd = fcntl(in_fd, F_DUPFD_CLOEXEC, IMAGE_FD + 1);
            close(in_fd);
        }
    }
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

// Keeps the private anonymous mappings that were never written out of the image while it lives.
// They hold only zeros and the kernel's own core leaves them out, but gdb would write out every byte,
// and sanitizers reserve terabytes of them. Marked excluded from core dumps, which gdb honours, and
// unmarked afterwards; one that another thread starts writing meanwhile is missing from this image only.
class UnwrittenMemoryExcluded
{
  public:
    UnwrittenMemoryExcluded()
    {
        std::ifstream smaps("/proc/self/smaps");
        std::pair<void*, std::size_t> mapping;
        bool bUnwritten = false;
        for (std::string strLine; std::getline(smaps, strLine);) {
            unsigned long ulStart = 0;
            unsigned long ulEnd = 0;
            char szPermissions[5] = "";
            int nPathAt = 0;
            // A mapping's first line: "start-end perms offset device inode path", no path when anonymous.
            if (std::sscanf(strLine.c_str(), "%lx-%lx %4s %*s %*s %*s %n", &ulStart, &ulEnd, szPermissions,
                            &nPathAt) == 3) {
                mapping = {reinterpret_cast<void*>(ulStart), ulEnd - ulStart};
                bUnwritten = szPermissions[3] == 'p' && strLine.size() == static_cast<std::size_t>(nPathAt);
            } else if (strLine.compare(0, 10, "Anonymous:") == 0 || strLine.compare(0, 5, "Swap:") == 0)
                bUnwritten = bUnwritten && std::strtoul(strLine.c_str() + strLine.find(':') + 1, nullptr, 10) == 0;
            else if (strLine.compare(0, 8, "VmFlags:") == 0 && bUnwritten && strLine.find(" dd") == std::string::npos &&
                     madvise(mapping.first, mapping.second, MADV_DONTDUMP) == 0)
                m_vMappings.push_back(mapping);
        }
    }
    ~UnwrittenMemoryExcluded()
    {
        for (const auto& mapping : m_vMappings)
            madvise(mapping.first, mapping.second, MADV_DODUMP);
    }
    UnwrittenMemoryExcluded(const UnwrittenMemoryExcluded&) = delete;
    UnwrittenMemoryExcluded& operator=(const UnwrittenMemoryExcluded&) = delete;

  private:
    std::vector<std::pair<void*, std::size_t>> m_vMappings;
};

std::string errorText(int in_nError)
{
    return std::system_category().message(in_nError);
}

// What gdb said on its error output, warnings aside, on one line: why it failed.
std::string gdbErrors(int in_fdErrors)
{
    std::string strOutput(static_cast<std::size_t>(std::max<off_t>(0, lseek(in_fdErrors, 0, SEEK_END))), '\0');
    const ssize_t nRead = pread(in_fdErrors, &strOutput[0], strOutput.size(), 0);
    strOutput.resize(static_cast<std::size_t>(std::max<ssize_t>(0, nRead)));
    std::istringstream lines(strOutput);
    std::string strErrors;
    for (std::string strLine; std::getline(lines, strLine);) {
        if (!strLine.empty() && strLine.compare(0, 9, "warning: ") != 0)
            strErrors += (strErrors.empty() ? "" : " ") + strLine;
    }
    return strErrors.empty() ? "gdb wrote no core image" : strErrors;
}

// gdb writes the ELF header last, so a core header means a whole image.
bool isCoreImage(int in_fdImage)
{
    Elf64_Ehdr header{};
    return pread(in_fdImage, &header, sizeof(header), 0) == static_cast<ssize_t>(sizeof(header)) &&
           std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 && header.e_type == ET_CORE;
}

// Starts gdb attached to this process; 0 or the error number.
int spawnGdb(int in_fdImage, int in_fdErrors, pid_t& out_gdb)
{
    const std::string strPid = std::to_string(getpid());
    const std::string strDump = "generate-core-file /dev/fd/" + std::to_string(IMAGE_FD);
    // No init file, no script from a loaded library, no symbol server, no question, no source lookup
    // whose complaint would read as an error: only the image, leaving out what is marked excluded.
    const char* const argv[] = {"gdb", "-nx", "-batch",
                                "-iex", "set auto-load off",
                                "-iex", "set debuginfod enabled off",
                                "-iex", "set print frame-info short-location",
                                "-iex", "set dump-excluded-mappings off",
                                "-p", strPid.c_str(),
                                "-ex", strDump.c_str(),
                                nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in_fdErrors, STDERR_FILENO);
    posix_spawn_file_actions_adddup2(&actions, in_fdImage, IMAGE_FD);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    // gdb gets the signals of a fresh program, whatever the calling task blocks or the host ignores.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const int nError = posix_spawnp(&out_gdb, "gdb", &actions, &attributes, const_cast<char* const*>(argv), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return nError;
}

bool failed(const std::string& in_strPath, const std::string& in_strReason)
{
    LH_ERROR(coreDumpLogger(), "dumpCore : cannot write a core image to " << in_strPath << ": " << in_strReason);
    return false;
}

// Runs gdb to its end; why no image was written, or nothing.
std::string writeImage(int in_fdImage, int in_fdErrors)
{
    pid_t gdb = -1;
    const int nSpawnError = spawnGdb(in_fdImage, in_fdErrors, gdb);
    if (nSpawnError != 0)
        return "cannot start gdb: " + errorText(nSpawnError);
    int nStatus = 0;
    pid_t waited = -1;
    do
        waited = waitpid(gdb, &nStatus, 0);
    while (waited == -1 && errno == EINTR);
    // ECHILD comes only once gdb has ended and was reaped elsewhere (by the kernel when the host
    // ignores SIGCHLD, or by the host's own handler): the image alone tells then.
    const bool bFailed = waited == gdb && !(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0);
    return bFailed || !isCoreImage(in_fdImage) ? gdbErrors(in_fdErrors) : "";
}
} // namespace

bool dumpCore(const std::string& in_strPath)
{
    // One dump at a time: each one withdraws the tracing permission that it gave.
    static std::mutex dumping;
    const std::lock_guard<std::mutex> lock(dumping);

    std::string strFailure;
    {
        const Descriptor image(open(in_strPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        if (image.get() == -1)
            return failed(in_strPath, errorText(errno));
        const Descriptor errors(memfd_create("gdb-errors", MFD_CLOEXEC));
        if (errors.get() == -1)
            strFailure = "cannot keep gdb's errors: " + errorText(errno);
        else {
            const UnwrittenMemoryExcluded unwrittenMemory;
            // Fails harmlessly where the kernel has no such restriction.
            prctl(PR_SET_PTRACER, getpid(), 0, 0, 0);
            strFailure = writeImage(image.get(), errors.get());
            // The kernel cannot tell a previous declaration and the gateway makes no other: none is the default.
            prctl(PR_SET_PTRACER, 0, 0, 0, 0);
        }
    }
    if (strFailure.empty())
        return true;
    unlink(in_strPath.c_str());
    return failed(in_strPath, strFailure);
}
