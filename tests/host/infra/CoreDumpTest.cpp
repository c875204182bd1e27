#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <mutex>
#include <sys/procfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "host/infra/CoreDump.h"

namespace {
// Reads the image where it lies: it is a sparse file far larger than what it holds.
class CoreImage
{
  public:
    explicit CoreImage(const std::string& in_strPath) : m_file(in_strPath, std::ios::binary)
    {
        m_bValid = read(0, &m_header, sizeof(m_header)) && std::memcmp(m_header.e_ident, ELFMAG, SELFMAG) == 0;
    }

    bool isCore() const { return m_bValid && m_header.e_type == ET_CORE; }

    // What the image holds at an address, or nothing when no segment has it.
    std::string bytesAt(const void* in_pAddress, std::size_t in_uiSize)
    {
        const auto ulAddress = reinterpret_cast<std::uint64_t>(in_pAddress);
        for (unsigned i = 0; i < m_header.e_phnum; ++i) {
            const Elf64_Phdr segment = programHeader(i);
            if (segment.p_type == PT_LOAD && ulAddress >= segment.p_vaddr &&
                ulAddress + in_uiSize <= segment.p_vaddr + segment.p_filesz) {
                std::string strBytes(in_uiSize, '\0');
                read(segment.p_offset + (ulAddress - segment.p_vaddr), &strBytes[0], in_uiSize);
                return strBytes;
            }
        }
        return "";
    }

    // The first note, which must be the thread's status.
    bool threadStatus(elf_prstatus& out_status)
    {
        const Elf64_Phdr notes = programHeader(0);
        Elf64_Nhdr note{};
        return notes.p_type == PT_NOTE && read(notes.p_offset, &note, sizeof(note)) && note.n_type == NT_PRSTATUS &&
               note.n_descsz == sizeof(out_status) &&
               read(notes.p_offset + sizeof(note) + 8, &out_status, sizeof(out_status));
    }

  private:
    Elf64_Phdr programHeader(unsigned in_uiIndex)
    {
        Elf64_Phdr segment{};
        read(m_header.e_phoff + in_uiIndex * sizeof(segment), &segment, sizeof(segment));
        return segment;
    }

    bool read(std::uint64_t in_ulOffset, void* out_p, std::size_t in_uiSize)
    {
        m_file.clear();
        m_file.seekg(static_cast<std::streamoff>(in_ulOffset));
        m_file.read(static_cast<char*>(out_p), static_cast<std::streamsize>(in_uiSize));
        return static_cast<std::size_t>(m_file.gcount()) == in_uiSize;
    }

    std::ifstream m_file;
    Elf64_Ehdr m_header{};
    bool m_bValid = false;
};
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

    CoreImage image(strPath);
    EXPECT_TRUE(image.isCore());
    elf_prstatus status;
    ASSERT_TRUE(image.threadStatus(status));
    EXPECT_EQ(status.pr_pid, static_cast<pid_t>(syscall(SYS_gettid)));
    EXPECT_EQ(image.bytesAt(strMarker.data(), strMarker.size()), "l" + strMarker.substr(1));

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
