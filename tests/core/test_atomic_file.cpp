#include "base/atomic_file.h"
#include "base/file_lock.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace qzb
