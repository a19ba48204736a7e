#include "base/atomic_file.h"
#include "base/file_lock.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

namespace qzb {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool Write(const fs::path& path, const std::string& text)
{
    return WriteFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// The writer that held the lock renames a new file over the name: a writer that waited on the old
// file must take the lock again on the new one, or a third writer would find the file free.
TEST(FileLock, AWaitingWriterEndsUpHoldingTheFileThatReplacedTheOneItWaitedOn)
{
    const CTempFolder folder;
    const fs::path path = folder.Path() / "d.dat";
    ASSERT_TRUE(Write(path, "first"));
    CFileLock holder;
    ASSERT_TRUE(holder.Acquire(path, 0ms));
    EXPECT_FALSE(CFileLock().Acquire(path, 30ms)) << "a second writer waits a while, then gives up";

    CFileLock waiter;
    auto waited = std::async(std::launch::async, [&] { return waiter.Acquire(path, 5s); });
    ASSERT_TRUE(Write(path, "second"));
    holder.Release();
    ASSERT_TRUE(waited.get());
    EXPECT_TRUE(waiter.Held());
    EXPECT_FALSE(CFileLock().Acquire(path, 0ms));
    waiter.Release();
    EXPECT_TRUE(CFileLock().Acquire(path, 0ms));

    // Nothing to guard yet, or nothing a writer may replace: no lock, and no wait.
    CFileLock none;
    EXPECT_TRUE(none.Acquire(folder.Path() / "missing.dat", 0ms));
    EXPECT_FALSE(none.Held());
}

// Named temporary files older than a minute are copies a killed write left behind, passwords and
// all: the next write in the folder removes them, and nothing else.
TEST(AtomicFile, AWriteRemovesStaleTemporaryFilesOfItsOwn)
{
    const CTempFolder folder;
    const fs::path path = folder.Path() / "k.dat";
    const auto old = fs::file_time_type::clock::now() - 2min;
    const std::vector<std::string> stale = {".qzb-a1B2c3", ".k.dat.Xy12Zq"};
    const std::vector<std::string> kept = {".qzb-fresh1", "notes.txt", ".other.dat.Xy12Zq", ".qzb-toolong1"};
    for (const std::string& name : stale) {
        std::ofstream(folder.Path() / name) << "secret";
        fs::last_write_time(folder.Path() / name, old);
    }
    for (const std::string& name : kept) {
        std::ofstream(folder.Path() / name) << "kept";
        if (name != ".qzb-fresh1") {
            fs::last_write_time(folder.Path() / name, old);
        }
    }
    ASSERT_TRUE(Write(path, "settings"));
    for (const std::string& name : stale) {
        EXPECT_FALSE(fs::exists(folder.Path() / name)) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_TRUE(fs::exists(folder.Path() / name)) << name;
    }
}

// What the file sync seam saw of the regular files it was asked to sync: their size, and what
// the target held at that moment.
struct CSyncRecord
{
    std::size_t size;
    std::string targetThen;
};
std::vector<CSyncRecord> g_syncs;
fs::path g_syncTarget;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int RecordSync(int fd)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        g_syncs.push_back({static_cast<std::size_t>(info.st_size), ReadText(g_syncTarget)});
    }
    return 0;
}

int FailFileSync(int fd)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        errno = EIO;
        return -1;
    }
    return 0;
}

class FileSync : public testing::Test
{
protected:
    void TearDown() override { SetFileSyncCall(m_previous); }
    void Use(FileSyncCall call) { m_previous = SetFileSyncCall(call); }

    const CTempFolder folder;
    FileSyncCall m_previous = nullptr;
};

// The new content is on the disk before the rename makes it the file.
TEST_F(FileSync, TheNewContentIsSyncedBeforeTheRename)
{
    g_syncTarget = folder.Path() / "d.dat";
    ASSERT_TRUE(Write(g_syncTarget, "old"));
    g_syncs.clear();
    Use(RecordSync);
    ASSERT_TRUE(Write(g_syncTarget, "newer"));
    ASSERT_EQ(g_syncs.size(), 1u) << "one sync of the written file";
    EXPECT_EQ(g_syncs[0].size, 5u) << "after the whole content was written";
    EXPECT_EQ(g_syncs[0].targetThen, "old") << "before the rename";
    EXPECT_EQ(ReadText(g_syncTarget), "newer");
}

// A sync that fails means the content may not be on the disk: the write fails and the old file stays.
TEST_F(FileSync, AFailedSyncFailsTheWriteAndKeepsTheOldFile)
{
    const fs::path path = folder.Path() / "d.dat";
    ASSERT_TRUE(Write(path, "old"));
    Use(FailFileSync);
    std::error_code error;
    const std::string text = "newer";
    EXPECT_FALSE(WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), &error, FileRights::Usual));
    EXPECT_EQ(error, std::error_code(EIO, std::generic_category()));
    EXPECT_EQ(ReadText(path), "old");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

} // namespace
} // namespace qzb
