#include "app/model_profile.h"

#include "app/app_context.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qzb {
namespace {

TEST(ModelProfile, TableFilesKeysAndLocks)
{
    const struct
    {
        std::int32_t code;
        std::uint32_t bit;
        const char* table;
        const char* key;
        const char* lock;
        const char* dataPath;
        ModelFamily family;
    } cases[] = {
        {8313,
         0x001,
         "M8120QZBSTR.tbl",
         "Software\\MERIDAN TOVELL\\MERIDAN TOVELL lumatrace 8120MF QZB",
         "Global\\ObsidianAIO QZB",
         "MERIDAN TOVELL/lumatrace 8120MF",
         ModelFamily::Obsidian},
        {8314,
         0x100,
         "M8125QZBSTR.tbl",
         "Software\\MERIDAN TOVELL\\MERIDAN TOVELL lumatrace 8125MF QZB",
         "Global\\ObsidianAIO QZB",
         "MERIDAN TOVELL/lumatrace 8125MF",
         ModelFamily::Obsidian},
        {8315,
         0x200,
         "K40QZBSTR.tbl",
         "Software\\MERIDAN TOVELL\\MERIDAN TOVELL quorra K40 QZB",
         "Global\\ObsidianAIO QZB",
         "MERIDAN TOVELL/quorra K40",
         ModelFamily::Obsidian},
        {8329,
         0x002,
         "M3120QZBSTR.tbl",
         "Software\\MERIDAN TOVELL\\MERIDAN TOVELL lumatrace 3120MF QZB",
         "Global\\CoralAIO QZB",
         "MERIDAN TOVELL/lumatrace 3120MF",
         ModelFamily::Coral},
        {2152,
         0x004,
         "QP-RZ41XJWSTR.tbl",
         "Software\\TARVO_P1\\ QP-RZ41NF XJW",
         "Global\\CoralSEC XJW",
         "TARVO_P1/QP-RZ41NF",
         ModelFamily::Coral},
        {1234,
         0x001,
         "M8120QZBSTR.tbl",
         "Software\\MERIDAN TOVELL\\MERIDAN TOVELL lumatrace 8120MF QZB",
         "Global\\ObsidianAIO QZB",
         "MERIDAN TOVELL/lumatrace 8120MF",
         ModelFamily::Obsidian},
    };
    for (const auto& c : cases) {
        const CModelProfile& profile = FindModelProfile(c.code);
        EXPECT_EQ(profile.modelBit, c.bit) << c.code;
        EXPECT_EQ(StringTableFileName(profile), c.table) << c.code;
        EXPECT_EQ(PreferencesKeyPath(profile), c.key) << c.code;
        EXPECT_EQ(profile.lockName, c.lock) << c.code;
        EXPECT_EQ(DataSubPathRelative(profile), c.dataPath) << c.code;
        EXPECT_EQ(profile.family, c.family) << c.code;
    }
    EXPECT_FALSE(IsKnownModel(1234));
    EXPECT_TRUE(IsKnownModel(2152));
}

TEST(ModelProfile, UnknownCodeKeepsItsCodeWithThe8313Profile)
{
    const CAppContext context(4711);
    EXPECT_EQ(context.modelCode, 4711);
    EXPECT_EQ(context.modelBit, 1u);
    EXPECT_EQ(context.profile->shortCode, "M8120");
}

TEST(ModelProfile, HelpManualIsInstalledWithTheProgram)
{
    for (const std::int32_t model : {8313, 8314, 8315, 8329, 2152}) {
        const std::filesystem::path manual = HelpFilePath(
            FindModelProfile(model), std::filesystem::path(QZB_TEST_DATA_DIR) / ".." / ".." / "bin" / "qzb");
        EXPECT_TRUE(std::filesystem::is_regular_file(manual)) << manual;
    }
    EXPECT_EQ(HelpFilePath(FindModelProfile(2152), "/opt/qzb/bin/qzb"), "/opt/qzb/share/qzb/help/QP-RZ41_XJW.html");
    EXPECT_EQ(HelpFilePath(FindModelProfile(8329), "/opt/qzb/bin/qzb"), "/opt/qzb/share/qzb/help/Coral.html");
}

TEST(DataFolders, CommandLineFolderIsTheOnlyPlaceWhenGiven)
{
    CDataFolders folders;
    folders.commandLine = "/nonexistent";
    folders.fallbacks.push_back("/tmp");
    EXPECT_EQ(FindDataFile(folders, "X.tbl"), "/nonexistent/X.tbl");
}

} // namespace
} // namespace qzb
