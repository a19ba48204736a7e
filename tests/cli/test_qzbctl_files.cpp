#include "tests/cli/qzbctl_fixture.h"

#include "base/file_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qzb {
namespace {

mode_t Mode(const std::string& path)
{
    struct stat info
    {
    };
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode;
}

// What stands at a path is written through or refused, never replaced by a plain file: a link is
// followed to its file, a FIFO, a folder or another link's FIFO is left as it was.
TEST_F(Qzbctl, WritesFollowLinksAndLeaveWhatIsNoRegularFileAlone)
{
    ASSERT_EQ(Run({"new", File("d.dat")}).status, kExitOk);
    fs::create_directory(File("sub"));
    fs::create_symlink("../d.dat", File("sub/link.dat"));
    fs::create_symlink(File("sub/link.dat"), File("chain.dat"));

    const CRun set = Run({"set", File("chain.dat"), "USER_SET_DLG", "USER_NAME", "--text", "Bob"});
    ASSERT_EQ(set.status, kExitOk) << set.err;
    EXPECT_TRUE(fs::is_symlink(File("chain.dat")));
    EXPECT_TRUE(fs::is_symlink(File("sub/link.dat")));
    EXPECT_EQ(Dump("d.dat")["settings"]["USER_SET_DLG"]["USER_NAME"]["text"], "Bob");
    EXPECT_EQ(std::distance(fs::directory_iterator(File("sub")), fs::directory_iterator()), 1)
        << "the temporary file goes beside the target, and goes";

    // A link to nothing yet gets its file.
    fs::create_symlink("later.dat", File("dangling.dat"));
    ASSERT_EQ(Run({"new", File("dangling.dat")}).status, kExitOk);
    EXPECT_TRUE(fs::is_symlink(File("dangling.dat")));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(File("later.dat"))));

    ASSERT_EQ(::mkfifo(File("pipe.bin").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(File("pipe.DAT").c_str(), 0644), 0);
    fs::create_symlink(File("pipe.bin"), File("to-pipe.bin"));
    fs::create_directory(File("folder.csv"));
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"new", File("pipe.DAT")}, File("pipe.DAT")},
        {{"encode", "--mode", "file", File("d.dat"), File("to-pipe.bin")}, File("to-pipe.bin")},
        {{"csv-export", File("d.dat"), File("folder.csv")}, File("folder.csv")},
    };
    for (const auto& [arguments, named] : refused) {
        const CRun run = Run(arguments);
        EXPECT_EQ(run.status, kExitFailed) << arguments[0];
        EXPECT_EQ(run.err,
                  "error 0x80020031: The file could not be written. (" + named +
                      " is no regular file, so it is left as it is)\n");
    }
    EXPECT_TRUE(S_ISFIFO(Mode(File("pipe.bin"))));
    EXPECT_TRUE(S_ISFIFO(Mode(File("pipe.DAT"))));
    EXPECT_TRUE(fs::is_symlink(File("to-pipe.bin")));
    EXPECT_TRUE(fs::is_directory(File("folder.csv")));
}

// Files holding device data are their owner's alone when new; a file written again keeps the
// rights and the owner it had.
TEST_F(Qzbctl, NewDeviceDataIsTheOwnersAloneAndRewrittenFilesKeepTheirRightsAndOwner)
{
    const mode_t mask = ::umask(022);
    const CRun download =
        Run({"--simulate", "--fast", "--trace", File("trace.txt"), "device", "download", File("down.dat")});
    ASSERT_EQ(download.status, kExitOk) << download.err;
    ASSERT_EQ(Run({"new", File("new.dat")}).status, kExitOk);
    ASSERT_EQ(Run({"encode", "--mode", "upload", File("new.dat"), File("image.bin")}).status, kExitOk);
    for (const char* name : {"down.dat", "trace.txt", "new.dat", "image.bin"}) {
        EXPECT_EQ(Mode(File(name)) & 0777, 0600u) << name;
    }

    fs::permissions(File("new.dat"), fs::perms(0640));
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(File("new.dat").c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(Run({"set", File("new.dat"), "USER_SET_DLG", "USER_NAME", "--text", "Bob"}).status, kExitOk);
    EXPECT_EQ(Mode(File("new.dat")) & 0777, 0640u);
    if (::geteuid() == 0) {
        struct stat info
        {
        };
        ASSERT_EQ(::stat(File("new.dat").c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 65534u) << "root's edit of a user's file stays the user's";
        EXPECT_EQ(info.st_gid, 65534u);
    }
    ::umask(mask);
}

// A file the user may write in a folder he may not: the folder is what refuses, and is named.
// Root writes anywhere, so the test acts as an ordinary user for the write.
TEST_F(Qzbctl, AFolderThatTakesNoNewFileIsNamed)
{
    ASSERT_EQ(Run({"new", File("w.dat")}).status, kExitOk);
    if (::geteuid() != 0) {
        fs::permissions(m_folder, fs::perms(0555));
    } else {
        fs::permissions(m_folder, fs::perms(0755));
        fs::permissions(File("w.dat"), fs::perms(0666));
        ASSERT_EQ(::seteuid(65534), 0);
    }
    const CRun run = Run({"set", File("w.dat"), "USER_SET_DLG", "USER_NAME", "--text", "Bob"});
    if (::getuid() == 0) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    fs::permissions(m_folder, fs::perms(0700));
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("error 0x80020031: The file could not be written. (" + File("w.dat") + ": the folder " +
                           m_folder.string() + " takes no new file: Permission denied)\n"),
              std::string::npos)
        << run.err;
}

// A name of 250 bytes leaves no room for a longer temporary name beside it.
TEST_F(Qzbctl, ALongNameIsWrittenAgain)
{
    const std::string name = std::string(246, 'n') + ".dat";
    ASSERT_EQ(Run({"new", File(name)}).status, kExitOk);
    const CRun set = Run({"set", File(name), "USER_SET_DLG", "USER_NAME", "--text", "Bob"});
    EXPECT_EQ(set.status, kExitOk) << set.err;
    EXPECT_EQ(Dump(name)["settings"]["USER_SET_DLG"]["USER_NAME"]["text"], "Bob");
}

// A command that changes a file waits while another writer holds it, and goes on once it is let go.
TEST_F(Qzbctl, AChangeWaitsForTheWriterThatHoldsTheFile)
{
    ASSERT_EQ(Run({"new", File("d.dat")}).status, kExitOk);
    CFileLock other;
    ASSERT_TRUE(other.Acquire(File("d.dat"), std::chrono::milliseconds(0)));
    auto set = std::async(std::launch::async, [this] {
        return Run({"set", File("d.dat"), "USER_SET_DLG", "USER_NAME", "--text", "Bob"});
    });
    EXPECT_EQ(set.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    other.Release();
    const CRun run = set.get();
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Dump("d.dat")["settings"]["USER_SET_DLG"]["USER_NAME"]["text"], "Bob");
}

} // namespace
} // namespace qzb
