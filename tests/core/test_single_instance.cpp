#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace qzb {
namespace {

class SingleInstance : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("qzb-lock-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

TEST_F(SingleInstance, SecondHolderOfTheSameNameIsRefusedUntilTheFirstGoes)
{
    auto first = std::make_unique<CSingleInstanceLock>("Global\\ObsidianAIO QZB", folder);
    ASSERT_EQ(first->GetState(), CSingleInstanceLock::State::Acquired);
    {
        CSingleInstanceLock second("Global\\ObsidianAIO QZB", folder);
        EXPECT_EQ(second.GetState(), CSingleInstanceLock::State::HeldElsewhere);
        CSingleInstanceLock otherProfile("Global\\CoralSEC XJW", folder);
        EXPECT_EQ(otherProfile.GetState(), CSingleInstanceLock::State::Acquired);
    }
    first.reset();
    CSingleInstanceLock third("Global\\ObsidianAIO QZB", folder);
    EXPECT_EQ(third.GetState(), CSingleInstanceLock::State::Acquired);
}

TEST_F(SingleInstance, LockFileIsSharedByEveryLogon)
{
    CSingleInstanceLock lock("Global\\CoralAIO QZB", folder);
    ASSERT_EQ(lock.GetState(), CSingleInstanceLock::State::Acquired);
    EXPECT_EQ(lock.Path().filename(), "qzb-Global_CoralAIO_QZB.lock");
    struct stat info
    {
    };
    ASSERT_EQ(::stat(lock.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666u);
}

TEST_F(SingleInstance, MissingFolderFails)
{
    CSingleInstanceLock lock("Global\\CoralAIO QZB", folder / "missing");
    EXPECT_EQ(lock.GetState(), CSingleInstanceLock::State::Failed);
    EXPECT_FALSE(lock.Problem().empty());
}

// Whatever another logon plants under the lock's name, the lock is refused and nothing of the
// user's is opened to every logon.
TEST_F(SingleInstance, PlantedNamesAreRefusedAndTheirTargetsKeepTheirMode)
{
    const std::filesystem::path target = folder / "private.txt";
    {
        std::ofstream(target) << "secret";
    }
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    const auto planted = [&](std::string_view lockName) {
        return folder / CSingleInstanceLock::LockFileName(lockName);
    };

    std::filesystem::create_symlink(target, planted("symlink"));
    std::filesystem::create_symlink(folder / "not-yet", planted("dangling"));
    std::filesystem::create_hard_link(target, planted("hardlink"));
    std::filesystem::create_directory(planted("folder"));
    ASSERT_EQ(::mkfifo(planted("fifo").c_str(), 0600), 0);
    for (const char* name : {"symlink", "dangling", "hardlink", "folder", "fifo"}) {
        CSingleInstanceLock lock(name, folder);
        EXPECT_EQ(lock.GetState(), CSingleInstanceLock::State::Failed) << name;
        EXPECT_FALSE(lock.Problem().empty()) << name;
    }
    struct stat info
    {
    };
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_FALSE(std::filesystem::exists(folder / "not-yet")) << "a dangling link must not create its target";
}

TEST_F(SingleInstance, MachineFolderIsSharedByEveryLogonUnlessOverridden)
{
    const char* savedLockDir = std::getenv("QZB_LOCK_DIR");
    const std::string saved = savedLockDir ? savedLockDir : "";
    const char* savedTmp = std::getenv("TMPDIR");
    const std::string savedTmpDir = savedTmp ? savedTmp : "";

    // Another logon's temporary folder, or one that does not exist, changes nothing.
    ::setenv("TMPDIR", (folder / "missing").c_str(), 1);
    ::unsetenv("QZB_LOCK_DIR");
    EXPECT_EQ(CSingleInstanceLock::MachineLockFolder(), "/tmp");
    ::setenv("QZB_LOCK_DIR", folder.c_str(), 1);
    EXPECT_EQ(CSingleInstanceLock::MachineLockFolder(), folder);
    CSingleInstanceLock lock("Global\\CoralSEC XJW");
    EXPECT_EQ(lock.GetState(), CSingleInstanceLock::State::Acquired);
    EXPECT_EQ(lock.Path().parent_path(), folder);

    savedLockDir ? ::setenv("QZB_LOCK_DIR", saved.c_str(), 1) : ::unsetenv("QZB_LOCK_DIR");
    savedTmp ? ::setenv("TMPDIR", savedTmpDir.c_str(), 1) : ::unsetenv("TMPDIR");
}

} // namespace
} // namespace qzb
