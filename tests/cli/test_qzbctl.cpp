#include "cli/qzbctl.h"
#include "tests/cli/qzbctl_fixture.h"

#include "app/app_context.h"
#include "files/dat_file.h"
#include "tests/support/full_device.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace qzb {
namespace {

std::set<std::string> Keys(const Json& object)
{
    std::set<std::string> keys;
    for (const auto& item : object.items()) {
        keys.insert(item.key());
    }
    return keys;
}

// An empty value would be read as 0 (a model no header names, a setting of 0): it is a usage
// error, and the file stays as it was. Only a text may be set empty, to clear it.
TEST_F(Qzbctl, EmptyOptionValuesAreUsageErrors)
{
    ASSERT_EQ(Run({"--model", "8313", "new", File("a.dat")}).status, kExitOk);
    const Bytes before = Read(File("a.dat"));
    const std::vector<std::vector<std::string>> commands = {
        {"set", File("a.dat"), "MACHINE_SET_DLG", "Machine_Language", "--number", ""},
        {"--model", "", "new", File("b.dat")},
        {"dump", ""},
    };
    for (const auto& command : commands) {
        const CRun run = Run(command);
        EXPECT_EQ(run.status, kExitUsage) << command[0];
        EXPECT_NE(run.err.find("needs a value, not an empty one"), std::string::npos) << run.err;
    }
    EXPECT_EQ(Read(File("a.dat")), before);
    EXPECT_FALSE(fs::exists(File("b.dat")));
    EXPECT_EQ(Run({"set", File("a.dat"), "USER_SET_DLG", "USER_NAME", "--text", ""}).status, kExitOk);
}

TEST_F(Qzbctl, NewSetAndDumpShowTheUserName)
{
    ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
    const CRun set = Run({"set", File("a.dat"), "USER_SET_DLG", "USER_NAME", "--text", "Bob"});
    ASSERT_EQ(set.status, kExitOk) << set.err;
    EXPECT_TRUE(set.out.empty() && set.err.empty());
    ASSERT_EQ(Run({"set", File("a.dat"), "MACHINE_SET_DLG", "Machine_Language", "--number", "11"}).status, kExitOk);

    const Json json = Dump("a.dat");
    EXPECT_EQ(json["settings"]["USER_SET_DLG"]["USER_NAME"], (Json{{"number", 0}, {"text", "Bob"}}));
    EXPECT_EQ(json["settings"]["MACHINE_SET_DLG"]["Machine_Language"]["number"], 11);
    EXPECT_EQ(Keys(json),
              (std::set<std::string>{"model",
                                     "modelBit",
                                     "settings",
                                     "operationBlock",
                                     "dialMode",
                                     "optionsBlock",
                                     "tray2Installed",
                                     "tray3Installed",
                                     "duplexInstalled",
                                     "deviceFlag",
                                     "faxMail",
                                     "scan",
                                     "groups",
                                     "favourites",
                                     "deviceInfo",
                                     "counters"}));
    EXPECT_EQ(json["model"], QZB_DEFAULT_MODEL_FOR_TESTS);
    EXPECT_EQ(json["operationBlock"].get<std::string>().size(), 128u);
    EXPECT_EQ(json["optionsBlock"], std::string(130, '0')) << "a file always carries the options block";
    EXPECT_TRUE(json["faxMail"].empty() && json["groups"].empty());
    ASSERT_EQ(json["deviceInfo"].size(), 37u);
    EXPECT_EQ(json["deviceInfo"][4], (Json{{"label", "MEMORY"}, {"id", 0x20907}, {"text", ""}}));
    ASSERT_EQ(json["counters"].size(), 60u);
    EXPECT_EQ(json["counters"][2], (Json{{"id", 0x20500}, {"value", 0}}));
}

TEST_F(Qzbctl, DumpNamesEveryDirectoryFieldOfTheSchema)
{
    CAppContext context(8314);
    FillFullAddressBook(context.device.book);
    FillEverySetting(context.store, context.device);
    ASSERT_EQ(WriteDatFile(File("full.dat"), context), kOk);

    const Json json = Dump("full.dat");
    EXPECT_EQ(json["model"], 8314);
    EXPECT_EQ(json["modelBit"], 0x100);
    EXPECT_EQ(json["optionsBlock"].get<std::string>().size(), 130u);
    const std::pair<const char*, std::set<std::string>> lists[] = {
        {"faxMail",
         {"number", "kind", "name", "address", "faxSpeed", "batchHour", "batchMinute", "speed", "batch", "setDate"}},
        {"scan", {"number",   "protocol",        "name",       "server",   "directory",  "useProxy",     "port",
                  "fileSize", "colourMode",      "resolution", "scanMode", "fileFormat", "codingMethod", "scanArea",
                  "notify",   "notifyAddresses", "account",    "userName", "password",   "setDate",      "proxy",
                  "size",     "colour",          "mode",       "format",   "coding",     "area",         "user"}},
        {"groups", {"number", "kind", "name", "members", "setDate"}},
        {"favourites", {"slot", "targetKind", "targetNumber"}},
    };
    for (const auto& [list, fields] : lists) {
        ASSERT_FALSE(json[list].empty()) << list;
        EXPECT_EQ(Keys(json[list][0]), fields) << list;
    }
    EXPECT_EQ(json["faxMail"].size(), 220u);
    EXPECT_EQ(json["faxMail"][1]["kind"], "email");
    EXPECT_EQ(json["scan"][0]["notifyAddresses"].size(), 10u);
    EXPECT_EQ(json["groups"][0]["members"].size(), 50u);
    EXPECT_EQ(json["favourites"][1], (Json{{"slot", 2}, {"targetKind", "speed"}, {"targetNumber", 2}}));
    // Names decode under the panel language of the file: 0xDB is U+0110 in Czech.
    EXPECT_NE(json["scan"][0]["server"].get<std::string>().find("\xC4\x90"), std::string::npos);
}

class DamagedFile : public Qzbctl, public testing::WithParamInterface<int>
{
};

TEST_P(DamagedFile, FailsWithTheFormatMessageAndLeavesTheFileAlone)
{
    ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
    Bytes file = Read(File("a.dat"));
    switch (GetParam()) {
        case 0:
            file.resize(file.size() - 5); // inside the last entry
            break;
        case 1:
            file[2] ^= 0x20;
            break;
        case 2:
            file.resize(36 + 5);
            break;
    }
    Write(File("a.dat"), file);

    const CRun dump = Run({"dump", File("a.dat")});
    EXPECT_EQ(dump.status, kExitFailed);
    EXPECT_TRUE(dump.out.empty());
    EXPECT_EQ(dump.err, "error 0x80020045: The settings file is damaged or belongs to another model.\n");
    const CRun set = Run({"set", File("a.dat"), "USER_SET_DLG", "USER_NAME", "--text", "Bob"});
    EXPECT_EQ(set.status, kExitFailed);
    EXPECT_EQ(set.err, dump.err);
    EXPECT_EQ(Read(File("a.dat")), file);
    const CRun encode = Run({"encode", "--mode", "file", File("a.dat"), File("out.bin")});
    EXPECT_EQ(encode.status, kExitFailed);
    EXPECT_EQ(encode.err, dump.err);
    EXPECT_FALSE(fs::exists(File("out.bin")));
}

INSTANTIATE_TEST_SUITE_P(Damage, DamagedFile, testing::Values(0, 1, 2));

TEST_F(Qzbctl, UsageErrorsExitWithOneAndChangeNothing)
{
    ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
    const Bytes before = Read(File("a.dat"));
    const std::vector<std::pair<std::vector<std::string>, std::string>> usages = {
        {{}, "A subcommand is required"},
        {{"frobnicate"}, "Unknown subcommand 'frobnicate'"},
        {{"page", "frob", File("a.dat")}, "Unknown subcommand 'frob' of page"},
        {{"dump", File("a.dat"), "one", "two", "three"}, "were not expected: one two three"},
        {{"dump"}, "FILE is required"},
        {{"--model", "1234", "new", File("b.dat")}, "--model: 1234 not in"},
        {{"--model", "x", "dump", File("a.dat")}, "--model: x"},
        {{"--codepage", "NO-SUCH-PAGE", "dump", File("a.dat")}, "unknown code page NO-SUCH-PAGE"},
        {{"--codepage", "UTF-16", "csv-export", File("a.dat"), File("a.csv")}, "UTF-16 is no code page texts"},
        {{"--codepage", "UTF-7", "dump", File("a.dat")}, "UTF-7 is no code page texts"},
        {{"encode", "--mode", "wire", File("a.dat"), File("out.bin")}, "--mode: wire not in {file,upload}"},
        {{"set", File("a.dat"), "USER_SET_DLG", "USER_NAME"}, "set needs --number N or --text T"},
        {{"set", File("a.dat"), "USER_SET_DLG", "USER_NAME", "--text", "A", "--number", "1"},
         "--number excludes --text"},
        {{"set", File("a.dat"), "NO_SUCH_DLG", "USER_NAME", "--text", "A"}, "unknown page NO_SUCH_DLG"},
        {{"set", File("a.dat"), "USER_SET_DLG", "NO_SUCH_KEY", "--number", "1"},
         "page USER_SET_DLG has no key NO_SUCH_KEY"},
    };
    for (const auto& [arguments, said] : usages) {
        const CRun run = Run(arguments);
        EXPECT_EQ(run.status, kExitUsage) << testing::PrintToString(arguments);
        EXPECT_NE(run.err.find(said), std::string::npos) << testing::PrintToString(arguments) << ": " << run.err;
    }
    EXPECT_EQ(Read(File("a.dat")), before);
    EXPECT_FALSE(fs::exists(File("b.dat")) || fs::exists(File("b.dat.DAT")) || fs::exists(File("out.bin")));
}

TEST_F(Qzbctl, EncodeWritesTheImageOfEachMode)
{
    ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
    ASSERT_EQ(Run({"encode", "--mode", "upload", File("a.dat"), File("upload.bin")}).status, kExitOk);
    EXPECT_EQ(fs::file_size(File("upload.bin")), 20u * 8 + 220 * 8 + 30 * 954 + 20 * 160 + 10);
    ASSERT_EQ(Run({"encode", "--mode", "upload", "--service", File("a.dat"), File("service.bin")}).status, kExitOk);
    EXPECT_GT(fs::file_size(File("service.bin")), fs::file_size(File("upload.bin")));
    ASSERT_EQ(Run({"encode", "--mode", "file", File("a.dat"), File("file.bin")}).status, kExitOk);
    const Bytes dat = Read(File("a.dat"));
    EXPECT_EQ(Read(File("file.bin")), Bytes(dat.begin() + 36, dat.end()));

    const CRun raw = Run({"dump", "--image", File("file.bin")});
    EXPECT_EQ(raw.status, kExitOk) << raw.err;
    Bytes cut = Read(File("file.bin"));
    cut.resize(cut.size() - 1);
    Write(File("cut.bin"), cut);
    const CRun cutRun = Run({"dump", "--image", File("cut.bin")});
    EXPECT_EQ(cutRun.status, kExitFailed);
    EXPECT_EQ(cutRun.err, "error 0x80020033: The file is not in a format this utility can read.\n");
}

TEST_F(Qzbctl, RunsAsTheModelInTheFileHeaderUnlessTold)
{
    ASSERT_EQ(Run({"--model", "8329", "new", File("coral.dat")}).status, kExitOk);
    ASSERT_EQ(Run({"--model", "8315", "new", File("obsidian.dat")}).status, kExitOk);
    EXPECT_EQ(Dump("coral.dat")["model"], 8329);
    EXPECT_EQ(Dump("obsidian.dat")["modelBit"], 0x200);

    const CRun told = Run({"--model", "8313", "dump", File("coral.dat")});
    EXPECT_EQ(told.status, kExitFailed);
    EXPECT_EQ(told.err.rfind("error 0x80020045: ", 0), 0u);
    const CRun sameFamily = Run({"--model", "2152", "dump", File("obsidian.dat")});
    ASSERT_EQ(sameFamily.status, kExitOk);
    EXPECT_EQ(Json::parse(sameFamily.out)["model"], 8315);
}

} // namespace
} // namespace qzb
