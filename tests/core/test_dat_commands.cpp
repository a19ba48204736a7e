#include "files/dat_commands.h"

#include "app/app_context.h"
#include "app/folders.h"
#include "files/backups.h"
#include "files/dat_file.h"
#include "tests/support/full_device.h"

#include "tests/support/image_bytes.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace qzb {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::set<std::string> Names(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

const std::chrono::system_clock::time_point kStart = std::chrono::sys_days{std::chrono::year(2026) / 3 / 14} + 9h;

TEST(DatCommands, AppendsTheExtensionUnlessTheNameEndsInDat)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a.dat", "a.dat"}, {"dir/a.Dat", "dir/a.Dat"}, {"a", "a.DAT"}, {"a.dat.bak", "a.dat.bak.DAT"}};
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(DatPathWithExtension(name), fs::path(expected)) << name;
    }
}

TEST(DatCommands, FamilyGoesByTheHeadersMagicNotByTheProfile)
{
    const CTempFolder folder;
    const fs::path obsidian = folder.Path() / "obsidian.DAT"; // 2152 is a Coral profile with the other magic
    const fs::path coral = folder.Path() / "coral.DAT";
    CAppContext obsidianContext(2152);
    CAppContext coralContext(8329);
    ASSERT_EQ(WriteDatFile(obsidian, obsidianContext), kOk);
    ASSERT_EQ(WriteDatFile(coral, coralContext), kOk);
    Bytes wrongModel = DatFileOf(8329, {});
    std::copy_n("QZB|OBSIDIANAIO", 15, wrongModel.begin()); // Coral's model under Obsidian's magic
    WriteAll(folder.Path() / "mixed.DAT", wrongModel);
    Bytes shortHeader = DatFileOf(8313, {});
    shortHeader.pop_back();
    WriteAll(folder.Path() / "short.DAT", shortHeader);
    WriteAll(folder.Path() / "text.DAT", Bytes(40, 'x'));

    const struct
    {
        const char* file;
        std::int32_t running;
        MessageCode code;
    } cases[] = {
        {"obsidian.DAT", 8313, kOk},
        {"obsidian.DAT", 8314, kOk},
        {"obsidian.DAT", 8315, kOk},
        {"obsidian.DAT", 2152, kOk},
        {"obsidian.DAT", 8329, kMsgInvalidFormatOpenFileErr},
        {"coral.DAT", 8329, kOk},
        {"coral.DAT", 2152, kMsgInvalidFormatOpenFileErr},
        {"coral.DAT", 8313, kMsgInvalidFormatOpenFileErr},
        {"mixed.DAT", 8313, kMsgInvalidFormatOpenFileErr},
        {"mixed.DAT", 8329, kMsgInvalidFormatOpenFileErr},
        {"short.DAT", 8313, kMsgInvalidFormatOpenFileErr},
        {"text.DAT", 8313, kMsgInvalidFormatOpenFileErr},
        {"missing.DAT", 8313, kMsgOpenFileError},
        {".", 8313, kMsgOpenFileError},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckDatFamily(folder.Path() / c.file, c.running), c.code) << c.file << " under " << c.running;
    }
}

TEST(DatCommands, DefaultDataFolderIsTheProfilesSubFolderAndIsCreated)
{
    const std::pair<std::int32_t, const char*> cases[] = {{2152, "TARVO_P1/QP-RZ41NF"},
                                                          {8329, "MERIDAN TOVELL/lumatrace 3120MF"},
                                                          {1, "MERIDAN TOVELL/lumatrace 8120MF"}};
    for (const auto& [model, sub] : cases) {
        EXPECT_EQ(DefaultDataFolder("/home/u/.local/share", FindModelProfile(model)),
                  fs::path("/home/u/.local/share") / sub)
            << model;
    }
    const CTempFolder folder;
    const fs::path data = DefaultDataFolder(folder.Path(), FindModelProfile(2152));
    EXPECT_TRUE(EnsureFolder(data));
    EXPECT_TRUE(EnsureFolder(data)) << "an existing folder is fine";
    WriteAll(folder.Path() / "file", {});
    EXPECT_FALSE(EnsureFolder(folder.Path() / "file"));
}

TEST(Backups, NamesOrderByTimeThenSerialAndOnlyTheProfilesCount)
{
    const struct
    {
        const char* name;
        bool matches;
        unsigned serial;
    } cases[] = {
        {"M8120-20260314-090000.DAT", true, 1},
        {"M8120-20260314-090000-2.DAT", true, 2},
        {"M8120-20260314-090000-10.DAT", true, 10},
        {"M8120-20260314-090000-1.DAT", false, 0},
        {"M8120-20260314-090000-02.DAT", false, 0},
        {"M8120-20260314-090000.dat", false, 0},
        {"M8120-20260314-0900.DAT", false, 0},
        {"M8120-2026031x-090000.DAT", false, 0},
        {"M8125-20260314-090000.DAT", false, 0},
        {"M8120-20260314-090000-2-3.DAT", false, 0},
        {"M8120-20260314-090000.DAT.tmp", false, 0},
    };
    for (const auto& c : cases) {
        const auto order = ParseBackupFileName(c.name, "M8120");
        ASSERT_EQ(order.has_value(), c.matches) << c.name;
        if (order) {
            EXPECT_EQ(order->serial, c.serial) << c.name;
        }
    }
    EXPECT_LT(*ParseBackupFileName("M8120-20260314-090000.DAT", "M8120"),
              *ParseBackupFileName("M8120-20260314-090000-2.DAT", "M8120"));
    EXPECT_LT(*ParseBackupFileName("M8120-20260314-090000-9.DAT", "M8120"),
              *ParseBackupFileName("M8120-20260314-090000-10.DAT", "M8120"));
    EXPECT_LT(*ParseBackupFileName("M8120-20260314-090000-10.DAT", "M8120"),
              *ParseBackupFileName("M8120-20260314-090001.DAT", "M8120"));
}

TEST(Backups, KeepTheNewestTwentyAndLeaveOtherFilesAlone)
{
    const CTempFolder folder;
    CAppContext context(8313);
    FillFullAddressBook(context.device.book);
    const fs::path backups = folder.Path() / "backups";
    ASSERT_TRUE(EnsureFolder(backups / "M8120-20200101-000000.DAT")); // a folder, not a backup
    const std::vector<std::string> strangers = {
        "notes.txt", "M8125-20200101-000000.DAT", "M8120-2020.DAT", "M8120-20200101-000000.dat"};
    for (const auto& name : strangers) {
        WriteAll(backups / name, {1});
    }

    std::vector<fs::path> written;
    for (int i = 0; i < 22; ++i) {
        fs::path path;
        ASSERT_EQ(WriteDownloadBackup(folder.Path(), context, kStart + std::chrono::minutes(i), kKeptBackups, &path),
                  kOk);
        written.push_back(path);
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(fs::exists(written[i]), i >= 2) << written[i];
    }
    EXPECT_EQ(Names(backups).size(), 20 + strangers.size() + 1);
    for (const auto& name : strangers) {
        EXPECT_EQ(fs::file_size(backups / name), 1u) << name;
    }

    // The backup opens as the data it was made of.
    CAppContext opened(8313);
    ASSERT_EQ(OpenDatFile(written.back(), opened), kOk);
    EXPECT_EQ(opened.device.book.FaxMailEntries().size(), context.device.book.FaxMailEntries().size());
    EXPECT_EQ(opened.device.book.Groups().size(), context.device.book.Groups().size());
    EXPECT_EQ(written.back().filename().string().substr(0, 6), "M8120-");
}

TEST(Backups, SameSecondGetsASerialAndTheNewestSurvivesAClockGoneBack)
{
    const CTempFolder folder;
    const CAppContext context(2152);
    std::vector<fs::path> written(4);
    for (auto& path : written) {
        ASSERT_EQ(WriteDownloadBackup(folder.Path(), context, kStart, 2, &path), kOk);
    }
    EXPECT_TRUE(written[1].filename().string().ends_with("-2.DAT"));
    EXPECT_TRUE(written[3].filename().string().ends_with("-4.DAT"));
    EXPECT_EQ(Names(folder.Path() / "backups"),
              (std::set<std::string>{written[2].filename().string(), written[3].filename().string()}));

    fs::path earlier;
    ASSERT_EQ(WriteDownloadBackup(folder.Path(), context, kStart - 24h, 2, &earlier), kOk);
    EXPECT_TRUE(fs::exists(earlier)) << "the backup just written is never the one removed";
    EXPECT_TRUE(fs::exists(written[3]));
    EXPECT_FALSE(fs::exists(written[2]));

    WriteAll(folder.Path() / "plain", {});
    EXPECT_EQ(WriteDownloadBackup(folder.Path() / "plain", context, kStart), kMsgWriteFileError);
}

} // namespace
} // namespace qzb
