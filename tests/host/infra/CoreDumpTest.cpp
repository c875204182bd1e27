#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sys/procfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "host/infra/CoreDump.h"

namespace {
std::string readWhole(const std::string& in_strPath)
{
    std::ifstream file(in_strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// What the image holds at an address, or nothing when no segment has it.
std::string imageBytesAt(const std::string& in_strCore, const void* in_pAddress, std::size_t in_uiSize)
{
    const auto* pHeader = reinterpret_cast<const Elf64_Ehdr*>(in_strCore.data());
    const auto ulAddress = reinterpret_cast<std::uint64_t>(in_pAddress);
    for (unsigned i = 0; i < pHeader->e_phnum; ++i) {
        const auto* pSegment = reinterpret_cast<const Elf64_Phdr*>(in_strCore.data() + pHeader->e_phoff) + i;
        if (pSegment->p_type == PT_LOAD && ulAddress >= pSegment->p_vaddr &&
            ulAddress + in_uiSize <= pSegment->p_vaddr + pSegment->p_filesz)
            return in_strCore.substr(pSegment->p_offset + (ulAddress - pSegment->p_vaddr), in_uiSize);
    }
    return "";
}

const elf_prstatus* threadStatusIn(const std::string& in_strCore)
{
    const auto* pHeader = reinterpret_cast<const Elf64_Ehdr*>(in_strCore.data());
    const auto* pNotes = reinterpret_cast<const Elf64_Phdr*>(in_strCore.data() + pHeader->e_phoff);
    if (pNotes->p_type != PT_NOTE)
        return nullptr;
    const auto* pNote = reinterpret_cast<const Elf64_Nhdr*>(in_strCore.data() + pNotes->p_offset);
    if (pNote->n_type != NT_PRSTATUS || pNote->n_descsz != sizeof(elf_prstatus))
        return nullptr;
    return reinterpret_cast<const elf_prstatus*>(reinterpret_cast<const char*>(pNote + 1) + 8);
}
} // namespace

TEST(CoreDump, WritesAnImageOfTheLiveProcessWhichGoesOnRunning)
{
    // Another thread is parked while the image is taken: the process is multi-threaded, as a gateway is.
    std::mutex mutex;
    std::condition_variable wakeUp;
    bool bReleased = false;
    std::thread parked([&] {
        std::unique_lock<std::mutex> lock(mutex);
        wakeUp.wait(lock, [&] { return bReleased; });
    });
    std::string strMarker = "linkhaven core marker " + std::to_string(getpid()) + std::string(4096, '#');
    const std::string strPath = "/tmp/linkhaven-core-" + std::to_string(getpid());

    ASSERT_TRUE(dumpCore(strPath));
    strMarker[0] = 'L'; // changed after the image was taken

    const std::string strCore = readWhole(strPath);
    ASSERT_GE(strCore.size(), sizeof(Elf64_Ehdr));
    const auto* pHeader = reinterpret_cast<const Elf64_Ehdr*>(strCore.data());
    EXPECT_EQ(std::memcmp(pHeader->e_ident, ELFMAG, SELFMAG), 0);
    EXPECT_EQ(pHeader->e_type, ET_CORE);
    const elf_prstatus* pStatus = threadStatusIn(strCore);
    ASSERT_NE(pStatus, nullptr);
    EXPECT_EQ(pStatus->pr_pid, static_cast<pid_t>(syscall(SYS_gettid)));
    EXPECT_EQ(imageBytesAt(strCore, strMarker.data(), strMarker.size()), "l" + strMarker.substr(1));

    {
        std::lock_guard<std::mutex> lock(mutex);
        bReleased = true;
    }
    wakeUp.notify_one();
    parked.join();
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "the writing child was left behind";
    std::remove(strPath.c_str());
}

TEST(CoreDump, FailsOnAPathThatCannotBeWritten)
{
    EXPECT_FALSE(dumpCore("/nonexistent/dir/core"));
    EXPECT_FALSE(dumpCore(""));
}
