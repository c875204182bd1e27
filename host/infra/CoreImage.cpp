#include "host/infra/CoreImage.h"

#include <algorithm>
#include <asm/prctl.h>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <sys/procfs.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#if !defined(__x86_64__)
#error "core images are written with the x86-64 register layout"
#endif

namespace {
constexpr unsigned long PAGE = 4096;
constexpr std::size_t MINCORE_PAGES = 512;
constexpr std::size_t SPARE_MAPPINGS = 64;
static_assert(sizeof(elf_gregset_t) == sizeof(user_regs_struct), "a thread's registers go into its status as they are");

long rawOpen(const char* in_szPath)
{
    return syscall(SYS_openat, AT_FDCWD, in_szPath, O_RDONLY | O_CLOEXEC);
}

std::size_t readSmallFile(const char* in_szPath, char* out_pBuffer, std::size_t in_nSize)
{
    const long fd = rawOpen(in_szPath);
    std::size_t nRead = 0;
    for (long nGot = 0; fd >= 0 && nRead < in_nSize && (nGot = syscall(SYS_read, fd, out_pBuffer + nRead, in_nSize - nRead)) > 0;)
        nRead += static_cast<std::size_t>(nGot);
    if (fd >= 0)
        syscall(SYS_close, fd);
    return nRead;
}

bool startsWith(const char* in_szLine, const char* in_szPrefix)
{
    return std::strncmp(in_szLine, in_szPrefix, std::strlen(in_szPrefix)) == 0;
}

// A mapping and what the image keeps of it: what the process wrote, as the kernel's own core does, and
// the vDSO, through which a thread's stack is unwound; never what is marked excluded from dumps.
struct Mapping
{
    unsigned long ulStart = 0;
    unsigned long ulEnd = 0;
    Elf64_Word flags = 0;
    bool bAnonymous = false;
    bool bVdso = false;
    bool bWritten = false;
    bool bSwapped = false;
    bool bExcluded = false;

    bool dumped() const { return (flags & PF_R) && !bExcluded && (bWritten || bVdso); }
};

// /proc/self/smaps, a mapping at a time, read through a buffer of its own.
class Smaps
{
  public:
    Smaps() : m_fd(rawOpen("/proc/self/smaps")) {}
    ~Smaps()
    {
        if (m_fd >= 0)
            syscall(SYS_close, m_fd);
    }
    Smaps(const Smaps&) = delete;
    Smaps& operator=(const Smaps&) = delete;

    bool next(Mapping& out_mapping)
    {
        for (char* szLine = nextLine(); szLine != nullptr; szLine = nextLine()) {
            if (std::isxdigit(static_cast<unsigned char>(*szLine)) && !std::isupper(static_cast<unsigned char>(*szLine)))
                out_mapping = parseHeader(szLine);
            else if (startsWith(szLine, "Anonymous:"))
                out_mapping.bWritten = std::strtoul(szLine + 10, nullptr, 10) != 0;
            else if (startsWith(szLine, "Swap:"))
                out_mapping.bSwapped = std::strtoul(szLine + 5, nullptr, 10) != 0;
            else if (startsWith(szLine, "VmFlags:")) {
                out_mapping.bExcluded = std::strstr(szLine, " dd") != nullptr;
                out_mapping.bWritten = out_mapping.bWritten || out_mapping.bSwapped;
                return true;
            }
        }
        return false;
    }

  private:
    // "start-end perms offset device inode path", no path when anonymous.
    static Mapping parseHeader(char* in_szLine)
    {
        Mapping mapping;
        char* pAt = nullptr;
        mapping.ulStart = std::strtoul(in_szLine, &pAt, 16);
        mapping.ulEnd = std::strtoul(pAt + 1, &pAt, 16);
        ++pAt;
        mapping.flags = (pAt[0] == 'r' ? PF_R : 0) | (pAt[1] == 'w' ? PF_W : 0) | (pAt[2] == 'x' ? PF_X : 0);
        for (int nField = 0; nField < 4 && pAt != nullptr; ++nField)
            pAt = std::strchr(pAt, ' ') != nullptr ? std::strchr(pAt, ' ') + 1 : nullptr;
        while (pAt != nullptr && *pAt == ' ')
            ++pAt;
        const char* szPath = pAt != nullptr ? pAt : "";
        mapping.bVdso = std::strcmp(szPath, "[vdso]") == 0;
        mapping.bAnonymous = !mapping.bVdso && (*szPath == '\0' || *szPath == '[');
        return mapping;
    }

    char* nextLine()
    {
        char* pEnd = static_cast<char*>(std::memchr(m_buffer + m_nAt, '\n', m_nLength - m_nAt));
        if (pEnd == nullptr) {
            std::memmove(m_buffer, m_buffer + m_nAt, m_nLength - m_nAt);
            m_nLength -= m_nAt;
            m_nAt = 0;
            const long nGot = m_fd < 0 ? 0 : syscall(SYS_read, m_fd, m_buffer + m_nLength, sizeof(m_buffer) - 1 - m_nLength);
            m_nLength += nGot > 0 ? static_cast<std::size_t>(nGot) : 0;
            pEnd = static_cast<char*>(std::memchr(m_buffer, '\n', m_nLength));
            if (pEnd == nullptr)
                return nullptr;
        }
        *pEnd = '\0';
        char* szLine = m_buffer + m_nAt;
        m_nAt = static_cast<std::size_t>(pEnd - m_buffer) + 1;
        return szLine;
    }

    long m_fd;
    char m_buffer[16384];
    std::size_t m_nAt = 0;
    std::size_t m_nLength = 0;
};

std::size_t noteSize(std::size_t in_nDescription)
{
    return sizeof(Elf64_Nhdr) + 8 + ((in_nDescription + 3) & ~std::size_t{3});
}

// Writes at given offsets and keeps the first error.
class ImageFile
{
  public:
    explicit ImageFile(int in_fd) : m_fd(in_fd) {}

    int error() const { return m_nError; }

    void write(const void* in_pData, std::size_t in_nSize, off_t in_offset) { copy(in_pData, in_nSize, in_offset, false); }

    void note(Elf64_Word in_type, const void* in_pDescription, std::size_t in_nSize, off_t& io_offset)
    {
        const Elf64_Nhdr header{5, static_cast<Elf64_Word>(in_nSize), in_type};
        write(&header, sizeof(header), io_offset);
        write("CORE\0\0\0", 8, io_offset + static_cast<off_t>(sizeof(header)));
        write(in_pDescription, in_nSize, io_offset + static_cast<off_t>(sizeof(header) + 8));
        io_offset += static_cast<off_t>(noteSize(in_nSize));
    }

    // Pages never touched stay holes, read back as the zeros they hold; a swapped page is not
    // resident, so such a mapping is copied whole, as is a file's, whose pages may be on disk only.
    void contents(const Mapping& in_mapping, off_t in_offset)
    {
        if (!in_mapping.bAnonymous || in_mapping.bSwapped) {
            copy(reinterpret_cast<const void*>(in_mapping.ulStart), in_mapping.ulEnd - in_mapping.ulStart, in_offset, true);
            return;
        }
        unsigned char resident[MINCORE_PAGES];
        for (unsigned long ulAt = in_mapping.ulStart; ulAt < in_mapping.ulEnd; ulAt += MINCORE_PAGES * PAGE) {
            const unsigned long ulLength = std::min(MINCORE_PAGES * PAGE, in_mapping.ulEnd - ulAt);
            if (syscall(SYS_mincore, ulAt, ulLength, resident) != 0)
                std::memset(resident, 1, sizeof(resident));
            for (unsigned long ulPage = 0; ulPage < ulLength / PAGE; ++ulPage)
                if (resident[ulPage] & 1)
                    copy(reinterpret_cast<const void*>(ulAt + ulPage * PAGE), PAGE,
                         in_offset + static_cast<off_t>(ulAt - in_mapping.ulStart + ulPage * PAGE), true);
        }
    }

  private:
    // From memory, a page that cannot be read is left a hole.
    void copy(const void* in_pData, std::size_t in_nSize, off_t in_offset, bool in_bSkipUnreadable)
    {
        const char* pAt = static_cast<const char*>(in_pData);
        while (in_nSize > 0 && m_nError == 0) {
            const long nWritten = syscall(SYS_pwrite64, m_fd, pAt, in_nSize, in_offset);
            std::size_t nDone = nWritten > 0 ? static_cast<std::size_t>(nWritten) : 0;
            if (nWritten < 0 && errno == EFAULT && in_bSkipUnreadable)
                nDone = std::min<std::size_t>(in_nSize, PAGE - reinterpret_cast<unsigned long>(pAt) % PAGE);
            else if (nWritten < 0 && errno != EINTR)
                m_nError = errno;
            pAt += nDone;
            in_offset += static_cast<off_t>(nDone);
            in_nSize -= nDone;
        }
    }

    int m_fd;
    int m_nError = 0;
};

void registersFromContext(const ucontext_t& in_context, ThreadRegisters& out_thread)
{
    const greg_t* pGregs = in_context.uc_mcontext.gregs;
    user_regs_struct& regs = out_thread.regs;
    regs = {};
    regs.r15 = pGregs[REG_R15], regs.r14 = pGregs[REG_R14], regs.r13 = pGregs[REG_R13], regs.r12 = pGregs[REG_R12];
    regs.rbp = pGregs[REG_RBP], regs.rbx = pGregs[REG_RBX], regs.r11 = pGregs[REG_R11], regs.r10 = pGregs[REG_R10];
    regs.r9 = pGregs[REG_R9], regs.r8 = pGregs[REG_R8], regs.rax = pGregs[REG_RAX], regs.rcx = pGregs[REG_RCX];
    regs.rdx = pGregs[REG_RDX], regs.rsi = pGregs[REG_RSI], regs.rdi = pGregs[REG_RDI], regs.rip = pGregs[REG_RIP];
    regs.rsp = pGregs[REG_RSP], regs.eflags = pGregs[REG_EFL], regs.orig_rax = ~0ULL;
    regs.cs = 0x33, regs.ss = 0x2b; // the kernel's user code and stack segments
    syscall(SYS_arch_prctl, ARCH_GET_FS, &regs.fs_base);
    std::memcpy(&out_thread.fpregs, in_context.uc_mcontext.fpregs, sizeof(out_thread.fpregs));
}

int writeImage(int in_fdImage, pid_t in_process, const ThreadRegisters* in_pThreads, std::size_t in_nThreads)
{
    // Counted before the image is laid out, and again while it is written: the copy's own first writes
    // (a sanitizer's bookkeeping) can add a mapping meanwhile, for which there is room.
    std::size_t nRoom = SPARE_MAPPINGS;
    Mapping mapping;
    for (Smaps smaps; smaps.next(mapping);)
        nRoom += mapping.dumped() ? 1 : 0;

    char auxv[4096];
    const std::size_t nAuxv = readSmallFile("/proc/self/auxv", auxv, sizeof(auxv));
    elf_prpsinfo process{};
    process.pr_pid = in_process;
    // The dumping thread's name, as the kernel's own core has the name of the thread that crashed.
    readSmallFile("/proc/self/comm", process.pr_fname, sizeof(process.pr_fname));
    std::replace(process.pr_fname, process.pr_fname + sizeof(process.pr_fname), '\n', '\0');
    const std::size_t nArgs = readSmallFile("/proc/self/cmdline", process.pr_psargs, sizeof(process.pr_psargs) - 1);
    for (std::size_t n = 0; n + 1 < nArgs; ++n)
        process.pr_psargs[n] = process.pr_psargs[n] == '\0' ? ' ' : process.pr_psargs[n];

    const std::size_t nNotes = noteSize(sizeof(process)) + noteSize(nAuxv) +
                               in_nThreads * (noteSize(sizeof(elf_prstatus)) + noteSize(sizeof(user_fpregs_struct)));
    const off_t notesAt = static_cast<off_t>(sizeof(Elf64_Ehdr) + (nRoom + 1) * sizeof(Elf64_Phdr));
    off_t dataAt = static_cast<off_t>((static_cast<std::size_t>(notesAt) + nNotes + PAGE - 1) & ~(PAGE - 1));

    ImageFile image(in_fdImage);
    off_t noteAt = notesAt;
    image.note(NT_PRPSINFO, &process, sizeof(process), noteAt);
    for (std::size_t n = 0; n < in_nThreads; ++n) {
        elf_prstatus status{};
        status.pr_pid = in_pThreads[n].tid;
        std::memcpy(&status.pr_reg, &in_pThreads[n].regs, sizeof(status.pr_reg));
        status.pr_fpvalid = 1;
        image.note(NT_PRSTATUS, &status, sizeof(status), noteAt);
        image.note(NT_PRFPREG, &in_pThreads[n].fpregs, sizeof(in_pThreads[n].fpregs), noteAt);
    }
    image.note(NT_AUXV, auxv, nAuxv, noteAt);
    const Elf64_Phdr notes{PT_NOTE, 0, static_cast<Elf64_Off>(notesAt), 0, 0, nNotes, 0, 0};
    image.write(&notes, sizeof(notes), sizeof(Elf64_Ehdr));

    std::size_t nWritten = 0;
    // A mapping left out has no header either: gdb reads a file's pages from the file then.
    for (Smaps smaps; smaps.next(mapping);) {
        if (!mapping.dumped())
            continue;
        if (nWritten == nRoom)
            return EOVERFLOW;
        const unsigned long ulSize = mapping.ulEnd - mapping.ulStart;
        const Elf64_Phdr load{PT_LOAD, mapping.flags, static_cast<Elf64_Off>(dataAt), mapping.ulStart, 0, ulSize, ulSize, PAGE};
        image.write(&load, sizeof(load), static_cast<off_t>(sizeof(Elf64_Ehdr) + ++nWritten * sizeof(Elf64_Phdr)));
        image.contents(mapping, dataAt);
        dataAt += static_cast<off_t>(ulSize);
    }
    if (image.error() == 0 && syscall(SYS_ftruncate, in_fdImage, dataAt) != 0)
        return errno;
    if (image.error() != 0)
        return image.error();

    Elf64_Ehdr header{};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = ELFCLASS64;
    header.e_ident[EI_DATA] = ELFDATA2LSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_type = ET_CORE;
    header.e_machine = EM_X86_64;
    header.e_version = EV_CURRENT;
    header.e_phoff = sizeof(Elf64_Ehdr);
    header.e_ehsize = sizeof(Elf64_Ehdr);
    header.e_phentsize = sizeof(Elf64_Phdr);
    header.e_phnum = static_cast<Elf64_Half>(nWritten + 1);
    image.write(&header, sizeof(header), 0);
    return image.error();
}
} // namespace

// Not inlined: its frame, where the registers were taken, stays intact while the image is written.
__attribute__((noinline)) void writeCoreImageAndExit(int in_fdImage, pid_t in_process, ThreadRegisters* in_pThreads,
                                                     std::size_t in_nThreads)
{
    // The process's connections and files are not held open by the copy while it writes.
    if (in_fdImage > 0)
        syscall(SYS_close_range, 0, in_fdImage - 1, 0);
    syscall(SYS_close_range, in_fdImage + 1, ~0U, 0);
    ucontext_t context;
    getcontext(&context);
    registersFromContext(context, in_pThreads[0]);
    syscall(SYS_exit_group, writeImage(in_fdImage, in_process, in_pThreads, in_nThreads));
    __builtin_unreachable();
}
