#include "host/infra/ElfCoreWriter.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/procfs.h>
#include <sys/syscall.h>
#include <unistd.h>
#if defined(__x86_64__)
#include <asm/prctl.h>
#endif

namespace {
// The writer's own memory, mapped in the child and marked not to be dumped. Untouched pages
// cost nothing, so the bounds are generous.
constexpr std::size_t MAX_MAPPINGS = 65534; // a program header count must stay below PN_XNUM
constexpr std::size_t NAMES_SIZE = 8u << 20;
constexpr std::size_t CHUNK_SIZE = 1u << 20;
constexpr std::size_t NOTES_SIZE = NAMES_SIZE + MAX_MAPPINGS * 3 * sizeof(std::uint64_t) + (64u << 10);

#if defined(__x86_64__)
constexpr Elf64_Half ELF_MACHINE = EM_X86_64;
#elif defined(__aarch64__)
constexpr Elf64_Half ELF_MACHINE = EM_AARCH64;
#endif

struct Mapping
{
    std::uint64_t ulStart;
    std::uint64_t ulEnd;
    std::uint64_t ulFileOffset;
    std::uint32_t uiFlags; // PF_R, PF_W, PF_X
    bool bShared;
    bool bDontDump;
    std::uint64_t ulResidentKb;
    std::uint64_t ulSwapKb;
    std::uint64_t ulAnonymousKb;
    std::uint32_t uiNameOffset;
    std::uint32_t uiNameLength;
    std::uint64_t ulDumpSize;
};

struct Arena
{
    Mapping* pMappings;
    std::size_t uiMappings;
    char* pNames;
    std::size_t uiNamesUsed;
    char* pChunk;
    char* pNotes;
};

bool startsWith(const char* in_szText, std::size_t in_uiLength, const char* in_szPrefix)
{
    const std::size_t uiPrefix = std::strlen(in_szPrefix);
    return in_uiLength >= uiPrefix && std::memcmp(in_szText, in_szPrefix, uiPrefix) == 0;
}

std::uint64_t parseNumber(const char*& io_p, const char* in_pEnd, unsigned in_uiBase)
{
    while (io_p < in_pEnd && *io_p == ' ')
        ++io_p;
    std::uint64_t ulValue = 0;
    for (; io_p < in_pEnd; ++io_p) {
        const char c = *io_p;
        unsigned uiDigit;
        if (c >= '0' && c <= '9')
            uiDigit = static_cast<unsigned>(c - '0');
        else if (in_uiBase == 16 && c >= 'a' && c <= 'f')
            uiDigit = static_cast<unsigned>(c - 'a' + 10);
        else
            break;
        ulValue = ulValue * in_uiBase + uiDigit;
    }
    return ulValue;
}

void skipField(const char*& io_p, const char* in_pEnd)
{
    while (io_p < in_pEnd && *io_p == ' ')
        ++io_p;
    while (io_p < in_pEnd && *io_p != ' ')
        ++io_p;
}

// A mapping's first line: "start-end perms offset dev inode   path".
bool isMappingLine(const char* in_pLine, const char* in_pEnd)
{
    for (const char* p = in_pLine; p < in_pEnd && *p != ' '; ++p) {
        if (*p == '-')
            return true;
        if (*p == ':')
            return false;
    }
    return false;
}

void parseMappingLine(Arena& io_arena, const char* in_pLine, const char* in_pEnd)
{
    if (io_arena.uiMappings == MAX_MAPPINGS)
        return;
    Mapping& mapping = io_arena.pMappings[io_arena.uiMappings++];
    std::memset(&mapping, 0, sizeof(mapping));
    const char* p = in_pLine;
    mapping.ulStart = parseNumber(p, in_pEnd, 16);
    ++p; // '-'
    mapping.ulEnd = parseNumber(p, in_pEnd, 16);
    while (p < in_pEnd && *p == ' ')
        ++p;
    if (in_pEnd - p >= 4) {
        mapping.uiFlags = (p[0] == 'r' ? PF_R : 0) | (p[1] == 'w' ? PF_W : 0) | (p[2] == 'x' ? PF_X : 0);
        mapping.bShared = p[3] == 's';
    }
    skipField(p, in_pEnd);
    mapping.ulFileOffset = parseNumber(p, in_pEnd, 16);
    skipField(p, in_pEnd); // device
    skipField(p, in_pEnd); // inode
    while (p < in_pEnd && *p == ' ')
        ++p;
    const std::size_t uiLength = static_cast<std::size_t>(in_pEnd - p);
    if (uiLength > 0 && io_arena.uiNamesUsed + uiLength + 1 <= NAMES_SIZE) {
        mapping.uiNameOffset = static_cast<std::uint32_t>(io_arena.uiNamesUsed);
        mapping.uiNameLength = static_cast<std::uint32_t>(uiLength);
        std::memcpy(io_arena.pNames + io_arena.uiNamesUsed, p, uiLength);
        io_arena.pNames[io_arena.uiNamesUsed + uiLength] = '\0';
        io_arena.uiNamesUsed += uiLength + 1;
    }
}

void parseFieldLine(Arena& io_arena, const char* in_pLine, const char* in_pEnd)
{
    if (io_arena.uiMappings == 0)
        return;
    Mapping& mapping = io_arena.pMappings[io_arena.uiMappings - 1];
    const std::size_t uiLength = static_cast<std::size_t>(in_pEnd - in_pLine);
    const char* p = in_pLine;
    while (p < in_pEnd && *p != ':')
        ++p;
    if (p < in_pEnd)
        ++p;
    if (startsWith(in_pLine, uiLength, "Rss:"))
        mapping.ulResidentKb = parseNumber(p, in_pEnd, 10);
    else if (startsWith(in_pLine, uiLength, "Swap:"))
        mapping.ulSwapKb = parseNumber(p, in_pEnd, 10);
    else if (startsWith(in_pLine, uiLength, "Anonymous:"))
        mapping.ulAnonymousKb = parseNumber(p, in_pEnd, 10);
    else if (startsWith(in_pLine, uiLength, "VmFlags:")) {
        for (; p + 1 < in_pEnd; ++p) {
            if (p[0] == 'd' && p[1] == 'd' && p[-1] == ' ' && (p + 2 == in_pEnd || p[2] == ' '))
                mapping.bDontDump = true;
        }
    }
}

// smaps rather than maps: it tells which mappings were written to and which must not be dumped.
bool readMappings(Arena& io_arena)
{
    const int fd = open("/proc/self/smaps", O_RDONLY | O_CLOEXEC);
    if (fd == -1)
        return false;
    std::size_t uiFilled = 0;
    for (;;) {
        const ssize_t nRead = read(fd, io_arena.pChunk + uiFilled, CHUNK_SIZE - 1 - uiFilled);
        if (nRead == -1 && errno == EINTR)
            continue;
        if (nRead <= 0)
            break;
        uiFilled += static_cast<std::size_t>(nRead);
        io_arena.pChunk[uiFilled] = '\0';
        char* pLine = io_arena.pChunk;
        char* pNewline;
        while ((pNewline = static_cast<char*>(std::memchr(pLine, '\n', uiFilled - (pLine - io_arena.pChunk)))) != nullptr) {
            *pNewline = '\0';
            if (isMappingLine(pLine, pNewline))
                parseMappingLine(io_arena, pLine, pNewline);
            else
                parseFieldLine(io_arena, pLine, pNewline);
            pLine = pNewline + 1;
        }
        uiFilled -= static_cast<std::size_t>(pLine - io_arena.pChunk);
        std::memmove(io_arena.pChunk, pLine, uiFilled);
    }
    close(fd);
    return io_arena.uiMappings > 0;
}

bool writeAll(int in_fd, const void* in_pData, std::size_t in_uiSize, off_t in_offset)
{
    const char* p = static_cast<const char*>(in_pData);
    while (in_uiSize > 0) {
        const ssize_t nWritten = pwrite(in_fd, p, in_uiSize, in_offset);
        if (nWritten == -1 && errno == EINTR)
            continue;
        if (nWritten <= 0)
            return false;
        p += nWritten;
        in_offset += nWritten;
        in_uiSize -= static_cast<std::size_t>(nWritten);
    }
    return true;
}

std::size_t readFile(const char* in_szPath, char* out_pBuffer, std::size_t in_uiSize)
{
    const int fd = open(in_szPath, O_RDONLY | O_CLOEXEC);
    if (fd == -1)
        return 0;
    std::size_t uiFilled = 0;
    ssize_t nRead;
    while (uiFilled < in_uiSize && (nRead = read(fd, out_pBuffer + uiFilled, in_uiSize - uiFilled)) != 0) {
        if (nRead == -1 && errno == EINTR)
            continue;
        if (nRead == -1)
            break;
        uiFilled += static_cast<std::size_t>(nRead);
    }
    close(fd);
    return uiFilled;
}

void putWord(char*& io_p, std::uint64_t in_ulWord)
{
    std::memcpy(io_p, &in_ulWord, sizeof(in_ulWord));
    io_p += sizeof(in_ulWord);
}

std::size_t padded(std::size_t in_uiSize) { return (in_uiSize + 3) & ~std::size_t(3); }

// Appends one note ("CORE" owner) at io_pNotes and gives the new end.
char* appendNote(char* io_pNotes, Elf64_Word in_type, const void* in_pDesc, std::size_t in_uiDescSize)
{
    Elf64_Nhdr header;
    header.n_namesz = 5;
    header.n_descsz = static_cast<Elf64_Word>(in_uiDescSize);
    header.n_type = in_type;
    std::memcpy(io_pNotes, &header, sizeof(header));
    io_pNotes += sizeof(header);
    std::memset(io_pNotes, 0, 8);
    std::memcpy(io_pNotes, "CORE", 5);
    io_pNotes += padded(5);
    if (in_pDesc != nullptr)
        std::memcpy(io_pNotes, in_pDesc, in_uiDescSize);
    std::memset(io_pNotes + in_uiDescSize, 0, padded(in_uiDescSize) - in_uiDescSize);
    return io_pNotes + padded(in_uiDescSize);
}

void fillRegisters(const ucontext_t& in_context, elf_prstatus& io_status)
{
#if defined(__x86_64__)
    const greg_t* pRegs = in_context.uc_mcontext.gregs;
    user_regs_struct regs;
    std::memset(&regs, 0, sizeof(regs));
    regs.r15 = pRegs[REG_R15];
    regs.r14 = pRegs[REG_R14];
    regs.r13 = pRegs[REG_R13];
    regs.r12 = pRegs[REG_R12];
    regs.rbp = pRegs[REG_RBP];
    regs.rbx = pRegs[REG_RBX];
    regs.r11 = pRegs[REG_R11];
    regs.r10 = pRegs[REG_R10];
    regs.r9 = pRegs[REG_R9];
    regs.r8 = pRegs[REG_R8];
    regs.rax = pRegs[REG_RAX];
    regs.rcx = pRegs[REG_RCX];
    regs.rdx = pRegs[REG_RDX];
    regs.rsi = pRegs[REG_RSI];
    regs.rdi = pRegs[REG_RDI];
    regs.orig_rax = ~0ull;
    regs.rip = pRegs[REG_RIP];
    regs.cs = 0x33; // the user code and stack segments of x86-64 Linux
    regs.ss = 0x2b;
    regs.eflags = pRegs[REG_EFL];
    regs.rsp = pRegs[REG_RSP];
    unsigned long ulFsBase = 0;
    syscall(SYS_arch_prctl, ARCH_GET_FS, &ulFsBase);
    regs.fs_base = ulFsBase; // thread-local storage, for the debugger
    static_assert(sizeof(regs) == sizeof(io_status.pr_reg), "the register layout of the core note");
    std::memcpy(&io_status.pr_reg, &regs, sizeof(regs));
#else
    // Only the memory is of use on other machines: the registers stay zero.
    (void)in_context;
    (void)io_status;
#endif
}

bool isElfFileStart(int in_memFd, std::uint64_t in_ulAddress)
{
    char magic[SELFMAG];
    return pread(in_memFd, magic, SELFMAG, static_cast<off_t>(in_ulAddress)) == SELFMAG &&
           std::memcmp(magic, ELFMAG, SELFMAG) == 0;
}

// What a kernel core holds with the default filter: anonymous memory, private file mappings
// that were written to, shared anonymous memory, and the first page of each mapped ELF file.
std::uint64_t dumpSizeOf(const Mapping& in_mapping, const char* in_szName, int in_memFd, long in_lPageSize)
{
    const std::uint64_t ulSize = in_mapping.ulEnd - in_mapping.ulStart;
    const std::size_t uiName = in_mapping.uiNameLength;
    if ((in_mapping.uiFlags & PF_R) == 0 || in_mapping.bDontDump || startsWith(in_szName, uiName, "[vvar") ||
        startsWith(in_szName, uiName, "[vsyscall]"))
        return 0;
    const bool bFileBacked = uiName > 0 && in_szName[0] == '/';
    if (!bFileBacked || in_mapping.ulAnonymousKb > 0)
        return ulSize;
    if (in_mapping.bShared && (startsWith(in_szName, uiName, "/memfd:") || startsWith(in_szName, uiName, "/SYSV") ||
                               startsWith(in_szName, uiName, "/dev/zero")))
        return ulSize;
    if (in_mapping.ulFileOffset == 0 && isElfFileStart(in_memFd, in_mapping.ulStart))
        return static_cast<std::uint64_t>(in_lPageSize) < ulSize ? in_lPageSize : ulSize;
    return 0;
}

bool isZeroPage(const char* in_pPage, long in_lPageSize)
{
    const std::uint64_t* pWords = reinterpret_cast<const std::uint64_t*>(in_pPage);
    for (long i = 0; i < in_lPageSize / 8; ++i) {
        if (pWords[i] != 0)
            return false;
    }
    return true;
}

// Pages that read as zero, or cannot be read, are left as holes of the sparse file.
bool writeContent(int in_fd, int in_memFd, const Mapping& in_mapping, off_t in_fileOffset, char* io_pChunk,
                  long in_lPageSize)
{
    if (in_mapping.ulResidentKb == 0 && in_mapping.ulSwapKb == 0)
        return true; // never touched: all zero
    const std::uint64_t ulPage = static_cast<std::uint64_t>(in_lPageSize);
    for (std::uint64_t ulDone = 0; ulDone < in_mapping.ulDumpSize;) {
        const std::uint64_t ulWanted = in_mapping.ulDumpSize - ulDone < CHUNK_SIZE ? in_mapping.ulDumpSize - ulDone : CHUNK_SIZE;
        const ssize_t nRead = pread(in_memFd, io_pChunk, ulWanted, static_cast<off_t>(in_mapping.ulStart + ulDone));
        if (nRead == -1 && errno == EINTR)
            continue;
        if (nRead <= 0) {
            ulDone += ulPage;
            continue;
        }
        const std::uint64_t ulRead = static_cast<std::uint64_t>(nRead) / ulPage * ulPage;
        std::uint64_t ulRunStart = 0;
        for (std::uint64_t ulOffset = 0; ulOffset <= ulRead; ulOffset += ulPage) {
            const bool bEnd = ulOffset == ulRead || isZeroPage(io_pChunk + ulOffset, in_lPageSize);
            if (bEnd && ulOffset > ulRunStart &&
                !writeAll(in_fd, io_pChunk + ulRunStart, ulOffset - ulRunStart,
                          in_fileOffset + static_cast<off_t>(ulDone + ulRunStart)))
                return false;
            if (bEnd)
                ulRunStart = ulOffset + ulPage;
        }
        ulDone += ulRead > 0 ? ulRead : ulPage;
    }
    return true;
}
bool isFileMapping(const Arena& in_arena, const Mapping& in_mapping)
{
    return in_mapping.uiNameLength > 0 && in_arena.pNames[in_mapping.uiNameOffset] == '/';
}

// The thread's status and registers, the process's, and the auxiliary vector.
char* appendProcessNotes(char* io_pNotesEnd, const ucontext_t& in_context, pid_t in_tid, pid_t in_pid, pid_t in_ppid,
                         char* io_pScratch)
{
    elf_prstatus status;
    std::memset(&status, 0, sizeof(status));
    status.pr_pid = in_tid;
    status.pr_ppid = in_ppid;
    status.pr_pgrp = getpgrp();
    status.pr_sid = getsid(0);
    fillRegisters(in_context, status);
    io_pNotesEnd = appendNote(io_pNotesEnd, NT_PRSTATUS, &status, sizeof(status));

    elf_prpsinfo info;
    std::memset(&info, 0, sizeof(info));
    info.pr_sname = 'R';
    info.pr_pid = in_pid;
    info.pr_ppid = in_ppid;
    info.pr_pgrp = getpgrp();
    info.pr_sid = getsid(0);
    info.pr_uid = getuid();
    info.pr_gid = getgid();
    const std::size_t uiComm = readFile("/proc/self/comm", info.pr_fname, sizeof(info.pr_fname) - 1);
    if (uiComm > 0 && info.pr_fname[uiComm - 1] == '\n')
        info.pr_fname[uiComm - 1] = '\0';
    const std::size_t uiArgs = readFile("/proc/self/cmdline", info.pr_psargs, sizeof(info.pr_psargs) - 1);
    for (std::size_t i = 0; i + 1 < uiArgs; ++i) {
        if (info.pr_psargs[i] == '\0')
            info.pr_psargs[i] = ' ';
    }
    io_pNotesEnd = appendNote(io_pNotesEnd, NT_PRPSINFO, &info, sizeof(info));

    const std::size_t uiAuxv = readFile("/proc/self/auxv", io_pScratch, CHUNK_SIZE);
    return appendNote(io_pNotesEnd, NT_AUXV, io_pScratch, uiAuxv);
}

// NT_FILE: count, page size, then start, end and page offset of each file mapping, then the names.
char* appendFileNote(char* io_pNotesEnd, const Arena& in_arena, long in_lPageSize)
{
    std::uint64_t ulFiles = 0;
    std::size_t uiNames = 0;
    for (std::size_t i = 0; i < in_arena.uiMappings; ++i) {
        if (isFileMapping(in_arena, in_arena.pMappings[i])) {
            ++ulFiles;
            uiNames += in_arena.pMappings[i].uiNameLength + 1;
        }
    }
    const std::size_t uiWords = (2 + 3 * ulFiles) * sizeof(std::uint64_t);
    char* pFileDesc = io_pNotesEnd + sizeof(Elf64_Nhdr) + padded(5);
    // Notes are only 4-byte aligned: the words are copied in, not stored through a pointer.
    char* pWord = pFileDesc;
    putWord(pWord, ulFiles);
    putWord(pWord, static_cast<std::uint64_t>(in_lPageSize));
    char* pFileNames = pFileDesc + uiWords;
    for (std::size_t i = 0; i < in_arena.uiMappings; ++i) {
        const Mapping& mapping = in_arena.pMappings[i];
        if (!isFileMapping(in_arena, mapping))
            continue;
        putWord(pWord, mapping.ulStart);
        putWord(pWord, mapping.ulEnd);
        putWord(pWord, mapping.ulFileOffset / static_cast<std::uint64_t>(in_lPageSize));
        std::memcpy(pFileNames, in_arena.pNames + mapping.uiNameOffset, mapping.uiNameLength + 1);
        pFileNames += mapping.uiNameLength + 1;
    }
    return appendNote(io_pNotesEnd, NT_FILE, nullptr, uiWords + uiNames);
}

std::size_t headersSize(std::size_t in_uiMappings) { return sizeof(Elf64_Ehdr) + (1 + in_uiMappings) * sizeof(Elf64_Phdr); }

// The file header, the note segment's header and the notes, which follow the headers.
bool writeHeaderAndNotes(int in_fd, std::size_t in_uiMappings, const char* in_pNotes, std::size_t in_uiNotesSize)
{
    Elf64_Ehdr header;
    std::memset(&header, 0, sizeof(header));
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = ELFCLASS64;
    header.e_ident[EI_DATA] = ELFDATA2LSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_ident[EI_OSABI] = ELFOSABI_NONE;
    header.e_type = ET_CORE;
    header.e_machine = ELF_MACHINE;
    header.e_version = EV_CURRENT;
    header.e_phoff = sizeof(Elf64_Ehdr);
    header.e_ehsize = sizeof(Elf64_Ehdr);
    header.e_phentsize = sizeof(Elf64_Phdr);
    header.e_phnum = static_cast<Elf64_Half>(1 + in_uiMappings);

    Elf64_Phdr note;
    std::memset(&note, 0, sizeof(note));
    note.p_type = PT_NOTE;
    note.p_offset = headersSize(in_uiMappings);
    note.p_filesz = in_uiNotesSize;
    note.p_align = 4;
    return writeAll(in_fd, &header, sizeof(header), 0) && writeAll(in_fd, &note, sizeof(note), sizeof(Elf64_Ehdr)) &&
           writeAll(in_fd, in_pNotes, in_uiNotesSize, static_cast<off_t>(headersSize(in_uiMappings)));
}

// One load segment per mapping, its header and then its content from io_ulDataOffset on, which
// ends past the last.
bool writeSegments(int in_fd, int in_memFd, Arena& io_arena, long in_lPageSize, std::uint64_t& io_ulDataOffset)
{
    for (std::size_t i = 0; i < io_arena.uiMappings; ++i) {
        Mapping& mapping = io_arena.pMappings[i];
        const char* szName = io_arena.pNames + mapping.uiNameOffset;
        mapping.ulDumpSize = dumpSizeOf(mapping, szName, in_memFd, in_lPageSize);
        Elf64_Phdr load;
        std::memset(&load, 0, sizeof(load));
        load.p_type = PT_LOAD;
        load.p_flags = mapping.uiFlags;
        load.p_offset = io_ulDataOffset;
        load.p_vaddr = mapping.ulStart;
        load.p_filesz = mapping.ulDumpSize;
        load.p_memsz = mapping.ulEnd - mapping.ulStart;
        load.p_align = static_cast<std::uint64_t>(in_lPageSize);
        if (!writeAll(in_fd, &load, sizeof(load), static_cast<off_t>(sizeof(Elf64_Ehdr) + (1 + i) * sizeof(Elf64_Phdr))))
            return false;
        // The kernel does not give the vDSO through /proc/self/mem; it is always mapped readable.
        const bool bWritten =
            startsWith(szName, mapping.uiNameLength, "[vdso]")
                ? writeAll(in_fd, reinterpret_cast<const void*>(mapping.ulStart), mapping.ulDumpSize,
                           static_cast<off_t>(io_ulDataOffset))
                : writeContent(in_fd, in_memFd, mapping, static_cast<off_t>(io_ulDataOffset), io_arena.pChunk,
                               in_lPageSize);
        if (!bWritten)
            return false;
        io_ulDataOffset += mapping.ulDumpSize;
    }
    return true;
}

} // namespace

ElfCoreWriter::ElfCoreWriter(int in_fd, pid_t in_imagePid, pid_t in_imageTid, pid_t in_imagePpid, long in_lPageSize)
    : m_fd(in_fd), m_imagePid(in_imagePid), m_imageTid(in_imageTid), m_imagePpid(in_imagePpid),
      m_lPageSize(in_lPageSize)
{
}

bool ElfCoreWriter::write(const ucontext_t& in_context)
{
    const std::size_t uiMappingsSize = MAX_MAPPINGS * sizeof(Mapping);
    const std::size_t uiArenaSize = uiMappingsSize + NAMES_SIZE + CHUNK_SIZE + NOTES_SIZE;
    void* pArena = mmap(nullptr, uiArenaSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (pArena == MAP_FAILED)
        return false;
    madvise(pArena, uiArenaSize, MADV_DONTDUMP);
    Arena arena;
    arena.pMappings = static_cast<Mapping*>(pArena);
    arena.uiMappings = 0;
    arena.pNames = static_cast<char*>(pArena) + uiMappingsSize;
    arena.uiNamesUsed = 0;
    arena.pChunk = arena.pNames + NAMES_SIZE;
    arena.pNotes = arena.pChunk + CHUNK_SIZE;

    // The writing child exits once this returns, which frees the arena.
    const int memFd = open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    if (memFd == -1)
        return false;
    bool bOk = readMappings(arena);
    std::uint64_t ulDataOffset = 0;
    if (bOk) {
        char* pNotesEnd =
            appendProcessNotes(arena.pNotes, in_context, m_imageTid, m_imagePid, m_imagePpid, arena.pChunk);
        pNotesEnd = appendFileNote(pNotesEnd, arena, m_lPageSize);
        const std::size_t uiNotesSize = static_cast<std::size_t>(pNotesEnd - arena.pNotes);
        const std::uint64_t ulPage = static_cast<std::uint64_t>(m_lPageSize);
        ulDataOffset = (headersSize(arena.uiMappings) + uiNotesSize + ulPage - 1) / ulPage * ulPage;
        bOk = writeHeaderAndNotes(m_fd, arena.uiMappings, arena.pNotes, uiNotesSize) &&
              writeSegments(m_fd, memFd, arena, m_lPageSize, ulDataOffset);
    }
    close(memFd);
    // The holes at the end still belong to the image.
    return bOk && ftruncate(m_fd, static_cast<off_t>(ulDataOffset)) == 0;
}
