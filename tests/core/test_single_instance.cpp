#include "app/single_instance.h"

#include <gtest/gtest.h>

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
}

} // namespace
} // namespace qzb
