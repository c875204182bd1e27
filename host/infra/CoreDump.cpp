#include "host/infra/CoreDump.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <ucontext.h>
#include <unistd.h>

#include "host/infra/ElfCoreWriter.h"

bool dumpCore(const std::string& in_strPath)
{
    const int fd = open(in_strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd == -1)
        return false;
    const pid_t imagePid = getpid();
    const pid_t imageTid = static_cast<pid_t>(syscall(SYS_gettid));
    const pid_t imagePpid = getppid();
    const long lPageSize = sysconf(_SC_PAGESIZE);

    const pid_t child = fork();
    if (child == 0) {
        // Captured here, so that the image's stack leads back through this call to its caller.
        ucontext_t context;
        getcontext(&context);
        ElfCoreWriter writer(fd, imagePid, imageTid, imagePpid, lPageSize);
        _exit(writer.write(context) ? 0 : 1);
    }
    int status = 0;
    pid_t waited = -1;
    if (child != -1) {
        do
            waited = waitpid(child, &status, 0);
        while (waited == -1 && errno == EINTR);
    }
    const int closed = close(fd);
    const bool bWritten = waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 && closed == 0;
    if (!bWritten)
        unlink(in_strPath.c_str());
    return bWritten;
}
