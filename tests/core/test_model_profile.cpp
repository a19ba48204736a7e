#include "app/model_profile.h"

#include "app/app_context.h"
#include "tests/support/models.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace qzb {
namespace {

// The profile rows as the device family's documentation lists them; the file name, preferences key
// and data folder follow from them by the family's naming rules, worked out here.
TEST(ModelProfile, TableFilesKeysAndLocks)
{
    const struct
    {
        std::int32_t code;
        std::uint32_t bit;
        std::string modelName;
        std::string shortCode;
        std::string kind; // QZB or XJW
        const char* lock;
        const char* dataSubPath;
        ModelFamily family;
    } rows[] = {
        {8313,
         1,
         "MERIDAN TOVELL lumatrace 8120MF",
         "M8120",
         "QZB",
         "Global\\ObsidianAIO QZB",
         "\\MERIDAN TOVELL\\lumatrace 8120MF",
         ModelFamily::Obsidian},
        {8314,
         0x100,
         "MERIDAN TOVELL lumatrace 8125MF",
         "M8125",
         "QZB",
         "Global\\ObsidianAIO QZB",
         "\\MERIDAN TOVELL\\lumatrace 8125MF",
         ModelFamily::Obsidian},
        {8315,
         0x200,
         "MERIDAN TOVELL quorra K40",
         "K40",
         "QZB",
         "Global\\ObsidianAIO QZB",
         "\\MERIDAN TOVELL\\quorra K40",
         ModelFamily::Obsidian},
        {8329,
         2,
         "MERIDAN TOVELL lumatrace 3120MF",
         "M3120",
         "QZB",
         "Global\\CoralAIO QZB",
         "\\MERIDAN TOVELL\\lumatrace 3120MF",
         ModelFamily::Coral},
        {2152,
         4,
         "TARVO QP-RZ41NF",
         "QP-RZ41",
         "XJW",
         "Global\\CoralSEC XJW",
         "\\TARVO_P1\\QP-RZ41NF",
         ModelFamily::Coral},
        // Any other code runs as the 8120.
        {1234,
         1,
         "MERIDAN TOVELL lumatrace 8120MF",
         "M8120",
         "QZB",
         "Global\\ObsidianAIO QZB",
         "\\MERIDAN TOVELL\\lumatrace 8120MF",
         ModelFamily::Obsidian},
    };
    for (const auto& row : rows) {
        const CModelProfile& profile = FindModelProfile(row.code);
        EXPECT_EQ(profile.modelBit, row.bit) << row.code;
        EXPECT_EQ(StringTableFileName(profile), row.shortCode + row.kind + "STR.tbl") << row.code;
        // "Software\<maker>\%s QZB" with the model name; the XJW key drops the word "TARVO" and keeps
        // the blank after it.
        const std::string key =
            row.kind == "XJW" ? "Software\\TARVO_P1\\" + row.modelName.substr(std::string("TARVO").size()) + " XJW"
                              : "Software\\MERIDAN TOVELL\\" + row.modelName + " QZB";
        EXPECT_EQ(PreferencesKeyPath(profile), key) << row.code;
        EXPECT_EQ(profile.lockName, row.lock) << row.code;
        // The sub-path below the data folder, in this system's separators.
        std::string dataPath = std::string(row.dataSubPath).substr(1);
        std::replace(dataPath.begin(), dataPath.end(), '\\', '/');
        EXPECT_EQ(DataSubPathRelative(profile), dataPath) << row.code;
        EXPECT_EQ(profile.family, row.family) << row.code;
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
    for (const std::int32_t model : kModels) {
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
