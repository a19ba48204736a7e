#include "tests/cli/qzbctl_fixture.h"

#include "app/app_context.h"
#include "files/backups.h"
#include "files/dat_commands.h"
#include "tests/support/vcard_fixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace qzb {
namespace {

class QzbctlContacts : public Qzbctl
{
protected:
    std::string Cards(std::initializer_list<std::string_view> files)
    {
        const std::string path = File("cards.vcf");
        std::ofstream out(path, std::ios::binary);
        for (std::string_view file : files) {
            out << file;
        }
        return path;
    }

    Json Show(const std::string& dat, std::int32_t slot)
    {
        const CRun run = Run({"entry", "show", dat, "speed:" + std::to_string(slot)});
        EXPECT_EQ(run.status, kExitOk) << run.err;
        return Json::parse(run.out);
    }
};

// The dry run lists each card's entries and writes nothing; the real run puts the same entries
// where the dry run said, and the entry editor reads them back.
TEST_F(QzbctlContacts, DryRunListsEveryCardAndChangesNothingAndTheImportLandsThere)
{
    ASSERT_EQ(Run({"--model", "8314", "new", File("f.dat")}).status, kExitOk);
    const Bytes before = Read(File("f.dat"));
    const std::string cards = Cards({vcard::kRfc2426, vcard::kEvolution, vcard::kPhone21, vcard::kOutlook21});

    // A file with no card at all is no vCard file: a failure, and nothing is written.
    std::ofstream(File("book.csv")) << "OTD01,Group,Kunden,\r\n";
    const CRun notCards = Run({"contacts-import", File("f.dat"), File("book.csv")});
    EXPECT_EQ(notCards.status, kExitFailed);
    EXPECT_NE(notCards.err.find("no BEGIN:VCARD"), std::string::npos) << notCards.err;
    EXPECT_EQ(Read(File("f.dat")), before);

    const CRun dry = Run({"contacts-import", File("f.dat"), cards, "--kind", "both", "--dry-run", "--json"});
    ASSERT_EQ(dry.status, kExitOk) << dry.err;
    EXPECT_EQ(Read(File("f.dat")), before);
    const Json plan = Json::parse(dry.out);
    EXPECT_EQ(plan["cards"], 6);
    // Frank Dawson, Tim Howes, Anna Berg: fax and e-mail; Иван: fax, name left out on this panel;
    // Nur Mail: e-mail; René: fax and e-mail.
    std::vector<std::pair<std::int32_t, std::string>> listed;
    for (const Json& entry : plan["entries"]) {
        listed.emplace_back(entry["card"], entry["name"]);
    }
    const std::vector<std::pair<std::int32_t, std::string>> expected = {{1, "Frank Dawson"},
                                                                        {1, "Frank Dawson"},
                                                                        {2, "Tim Howes"},
                                                                        {2, "Tim Howes"},
                                                                        {3, "Anna Berg"},
                                                                        {3, "Anna Berg"},
                                                                        {4, ""},
                                                                        {5, "Nur Mail"},
                                                                        {6, "René Dupré"},
                                                                        {6, "René Dupré"}};
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(plan["entries"][0]["slot"], 1);
    EXPECT_EQ(plan["entries"][9]["slot"], 10);
    EXPECT_EQ(plan["entries"][1]["address"], "Frank_Dawson@Lotus.com") << "the preferred address";
    bool nameLeftOut = false;
    for (const Json& note : plan["notes"]) {
        nameLeftOut = nameLeftOut || (note["card"] == 4 && note["reason"] == "name-left-out");
    }
    EXPECT_TRUE(nameLeftOut) << plan["notes"].dump();

    const CRun real = Run({"contacts-import", File("f.dat"), cards, "--kind", "both", "--json"});
    ASSERT_EQ(real.status, kExitOk) << real.err;
    EXPECT_EQ(Json::parse(real.out)["entries"], plan["entries"]);
    for (const Json& entry : plan["entries"]) {
        const Json shown = Show(File("f.dat"), entry["slot"]);
        EXPECT_EQ(shown["kind"], entry["kind"]);
        EXPECT_EQ(shown["name"], entry["name"]);
        EXPECT_EQ(shown[entry["kind"] == "fax" ? "number" : "address"], entry["address"]);
    }
    // The same cards again are all duplicates: nothing more lands.
    const CRun again = Run({"contacts-import", File("f.dat"), cards, "--json"});
    EXPECT_TRUE(Json::parse(again.out)["entries"].empty());
}

TEST_F(QzbctlContacts, OnThe8313PanelOnlyWhatItLacksIsTransliteratedAndTheNumberIsDialable)
{
    ASSERT_EQ(Run({"--model", "8313", "new", File("f.dat")}).status, kExitOk);
    const std::string cards = Cards({"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Łukasz Ōsaka-Weiß\r\n"
                                     "TEL;TYPE=fax:+49 (30) 1234-56\r\nEND:VCARD\r\n"});
    const CRun run = Run({"contacts-import", File("f.dat"), cards, "--kind", "fax", "--json"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const Json plan = Json::parse(run.out);
    ASSERT_EQ(plan["entries"].size(), 1u);
    EXPECT_EQ(plan["entries"][0]["name"], "Lukasz Osaka-Weiß");
    EXPECT_EQ(plan["entries"][0]["address"], "0049301234-56");
    std::vector<std::string> notes;
    for (const Json& note : plan["notes"]) {
        notes.push_back(note["text"]);
    }
    EXPECT_EQ(
        notes,
        (std::vector<std::string>{"card 1 (Łukasz Ōsaka-Weiß): Ł written as L: the panel cannot show it",
                                  "card 1 (Łukasz Ōsaka-Weiß): Ō written as O: the panel cannot show it",
                                  "card 1 (Łukasz Ōsaka-Weiß): number +49 (30) 1234-56 written as 0049301234-56"}));
    const Json shown = Show(File("f.dat"), 1);
    EXPECT_EQ(shown["name"], "Lukasz Osaka-Weiß");
    EXPECT_EQ(shown["number"], "0049301234-56");
}

TEST_F(QzbctlContacts, ExportedContactsImportToTheSameEntries)
{
    ASSERT_EQ(Run({"--model", "8314", "new", File("a.dat")}).status, kExitOk);
    ASSERT_EQ(Run({"--model", "8314", "new", File("b.dat")}).status, kExitOk);
    const std::string cards = Cards({vcard::kThunderbird, vcard::kEvolution, vcard::kOutlook21});
    ASSERT_EQ(Run({"contacts-import", File("a.dat"), cards, "--group", "Kunden"}).status, kExitOk);
    const CRun exported = Run({"contacts-export", File("a.dat"), File("out.vcf")});
    ASSERT_EQ(exported.status, kExitOk) << exported.err;
    const std::string vcf = [&] {
        const Bytes bytes = Read(File("out.vcf"));
        return std::string(bytes.begin(), bytes.end());
    }();
    EXPECT_NE(vcf.find("CATEGORIES:Kunden\r\n"), std::string::npos);
    ASSERT_EQ(Run({"contacts-import", File("b.dat"), File("out.vcf")}).status, kExitOk);
    const Json a = Dump("a.dat");
    const Json b = Dump("b.dat");
    ASSERT_EQ(a["faxMail"].size(), 7u);
    ASSERT_EQ(b["faxMail"].size(), a["faxMail"].size());
    for (std::size_t i = 0; i < a["faxMail"].size(); ++i) {
        for (const char* field : {"number", "kind", "name", "address"}) {
            EXPECT_EQ(b["faxMail"][i][field], a["faxMail"][i][field]) << i << ' ' << field;
        }
    }
}

TEST_F(QzbctlContacts, BackupsListsTheModelsDownloadsNewestFirst)
{
    ::setenv("XDG_DATA_HOME", File("data").c_str(), 1);
    const fs::path folder = DefaultDataFolder(File("data"), FindModelProfile(8314)) / kBackupFolderName;
    fs::create_directories(folder);
    // The 8314 writes its backups under its short code M8125; another model's and other files are
    // not listed.
    for (const char* name : {"M8120-20270101-000000.DAT",
                             "M8125-20260314-091500.DAT",
                             "M8125-20260314-091500-2.DAT",
                             "M8125-20250101-000000.DAT",
                             "notes.txt"}) {
        std::ofstream(folder / name) << "x";
    }
    const CRun run = Run({"--model", "8314", "backups", "--json"});
    ::unsetenv("XDG_DATA_HOME");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const Json json = Json::parse(run.out);
    EXPECT_EQ(json["kept"], kKeptBackups);
    EXPECT_EQ(json["folder"], folder.string());
    ASSERT_EQ(json["backups"].size(), 3u);
    EXPECT_EQ(json["backups"][0]["date"], "2026-03-14");
    EXPECT_EQ(json["backups"][0]["time"], "09:15:00");
    EXPECT_EQ(json["backups"][0]["serial"], 2);
    EXPECT_EQ(json["backups"][2]["date"], "2025-01-01");
}

} // namespace
} // namespace qzb
