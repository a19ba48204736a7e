#include "tests/cli/qzbctl_fixture.h"

#include "addressbook/contacts_import.h"
#include "app/app_context.h"
#include "files/backups.h"
#include "files/dat_commands.h"
#include "pages/state_diff.h"
#include "tests/support/models.h"
#include "tests/support/vcard_fixtures.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

namespace qzb {
namespace {

// What the process has read so far, from files and pipes alike ("rchar" of /proc/self/io).
std::uint64_t BytesReadByThisProcess()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return 0;
}

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

// A copy of a 21-card file with the first card's END:VCARD removed, an iOS export with CR CR LF
// lines, a UTF-16 file, a file in an encoding no address book writes and a file over the size
// limit: every card read or named, the encoding named, the size refused before the file is read.
TEST_F(QzbctlContacts, DamagedAndForeignFilesAreReadWholeOrRefusedWithTheirReason)
{
    ASSERT_EQ(Run({"--model", "8314", "new", File("f.dat")}).status, kExitOk);
    const fs::path corpus = fs::path(QZB_VCARD_CORPUS_DIR) / "own";
    const CRun damaged =
        Run({"contacts-import", File("f.dat"), (corpus / "no-end-first-of-21.vcf").string(), "--kind", "fax"});
    ASSERT_EQ(damaged.status, kExitOk) << damaged.err;
    EXPECT_NE(damaged.err.find("qzbctl: 21 cards read: 21 entries to import."), std::string::npos) << damaged.err;
    EXPECT_NE(damaged.err.find("card 1 (Person 1): the card has no END:VCARD; read up to the next card"),
              std::string::npos)
        << damaged.err;
    EXPECT_EQ(Dump("f.dat")["faxMail"].size(), 21u);

    ASSERT_EQ(Run({"--model", "8314", "new", File("g.dat")}).status, kExitOk);
    const CRun ios = Run({"contacts-import", File("g.dat"), (corpus / "ios-cr-cr-lf.vcf").string(), "--json"});
    ASSERT_EQ(ios.status, kExitOk) << ios.err;
    const Json iosPlan = Json::parse(ios.out);
    ASSERT_EQ(iosPlan["entries"].size(), 6u);
    EXPECT_EQ(iosPlan["entries"][2]["name"], "Person Oztürk") << "a quoted-printable soft break across CR CR LF";
    EXPECT_EQ(Show(File("g.dat"), 1)["number"], "0049301001");

    const CRun unicode =
        Run({"contacts-import", File("g.dat"), (corpus / "utf16le-bom.vcf").string(), "--dry-run", "--json"});
    ASSERT_EQ(unicode.status, kExitOk) << unicode.err;
    EXPECT_EQ(Json::parse(unicode.out)["cards"], 3);

    const Bytes before = Read(File("g.dat"));
    std::ofstream(File("seven.vcf"), std::ios::binary) << "\x2B\x2F\x76\x38\x2D" << vcard::kRfc6350;
    const CRun seven = Run({"contacts-import", File("g.dat"), File("seven.vcf")});
    EXPECT_EQ(seven.status, kExitFailed);
    EXPECT_NE(seven.err.find("UTF-7"), std::string::npos) << seven.err;

    // A sparse file over the limit: refused by its size, not read to the limit first.
    {
        std::ofstream big(File("big.vcf"), std::ios::binary);
        big << vcard::kRfc6350;
    }
    fs::resize_file(File("big.vcf"), kMaxContactsFileSize + 1);
    const std::uint64_t readBefore = BytesReadByThisProcess();
    const CRun big = Run({"contacts-import", File("g.dat"), File("big.vcf")});
    EXPECT_LT(BytesReadByThisProcess() - readBefore, std::uint64_t{4} << 20);
    EXPECT_EQ(big.status, kExitFailed);
    EXPECT_NE(big.err.find(std::strerror(EFBIG)), std::string::npos) << big.err;
    EXPECT_EQ(Read(File("g.dat")), before);
}

// The numbers of item lists that would dial someone else, and Outlook's field names.
TEST_F(QzbctlContacts, NumbersThatWouldDialSomeoneElseAreNeverStored)
{
    ASSERT_EQ(Run({"--model", "8329", "new", File("f.dat")}).status, kExitOk);
    const std::string cards =
        Cards({"BEGIN:VCARD\r\nFN:Trunk\r\nTEL;TYPE=fax:+44 (0)20 7946 0958\r\nEND:VCARD\r\n",
               "BEGIN:VCARD\r\nFN:Bracket\r\nTEL;TYPE=fax:(+49) 30 123456\r\nEND:VCARD\r\n",
               "BEGIN:VCARD\r\nFN:Ext\r\nTEL;TYPE=fax:+1 (555) 123-4567 x89\r\nEND:VCARD\r\n",
               "BEGIN:VCARD\r\nFN:Uri\r\nTEL;TYPE=fax:tel:+1-555-765-4321;ext=89\r\nEND:VCARD\r\n",
               "BEGIN:VCARD\r\nFN:Outlook\r\nTEL;WORK;FAX:BusinessFaxPhone\r\nEND:VCARD\r\n",
               "BEGIN:VCARD\r\nFN:Vanity\r\nTEL;TYPE=fax:1-800-FLOWERS\r\nEND:VCARD\r\n"});
    const CRun run = Run({"contacts-import", File("f.dat"), cards, "--json"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const Json plan = Json::parse(run.out);
    std::vector<std::string> stored;
    const Json dump = Dump("f.dat");
    for (const Json& entry : dump["faxMail"]) {
        stored.push_back(entry["address"]);
    }
    EXPECT_EQ(stored,
              (std::vector<std::string>{"00442079460958", "004930123456", "001555123-4567", "001-555-765-4321"}));
    std::vector<std::string> reasons;
    for (const Json& note : plan["notes"]) {
        if (note["reason"] != "number-changed") {
            reasons.push_back(std::to_string(note["card"].get<int>()) + " " + note["reason"].get<std::string>());
        }
    }
    EXPECT_EQ(reasons,
              (std::vector<std::string>{
                  "3 extension-left-out", "4 extension-left-out", "5 number-in-letters", "6 number-in-letters"}));
}

// A card with a 1 MB name is told by the start of its name; an empty book exports nothing; a
// re-written export keeps the rights its owner gave it.
TEST_F(QzbctlContacts, NotesStayShortAnEmptyBookExportsNothingAndAnExportKeepsItsRights)
{
    ASSERT_EQ(Run({"--model", "8315", "new", File("f.dat")}).status, kExitOk);
    const std::string huge(1 << 20, 'N');
    const std::string cards = Cards({"BEGIN:VCARD\r\nFN:" + huge + "\r\nEMAIL:n@x.de\r\nEND:VCARD\r\n"});
    const CRun text = Run({"contacts-import", File("f.dat"), cards, "--dry-run"});
    ASSERT_EQ(text.status, kExitOk);
    EXPECT_LT(text.err.size(), 2000u);
    const CRun json = Run({"contacts-import", File("f.dat"), cards, "--dry-run", "--json"});
    ASSERT_EQ(json.status, kExitOk);
    EXPECT_LT(json.out.size(), 2000u);

    const CRun empty = Run({"contacts-export", File("f.dat"), File("out.vcf")});
    EXPECT_EQ(empty.status, kExitFailed);
    EXPECT_NE(empty.err.find("There is no fax or e-mail speed dial to export."), std::string::npos) << empty.err;
    EXPECT_FALSE(fs::exists(File("out.vcf")));

    ASSERT_EQ(Run({"contacts-import", File("f.dat"), cards}).status, kExitOk);
    ASSERT_EQ(Run({"contacts-export", File("f.dat"), File("out.vcf")}).status, kExitOk);
    EXPECT_EQ(fs::status(File("out.vcf")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write)
        << "a new export is its owner's alone";
    fs::permissions(File("out.vcf"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(Run({"contacts-export", File("f.dat"), File("out.vcf")}).status, kExitOk);
    EXPECT_EQ(fs::status(File("out.vcf")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Speed dials with gaps, named and unnamed groups of both kinds: export, then import into an
// empty book of the same model, and qzbctl diff finds no entry or group added, removed, renamed
// or renumbered, no number or address changed. Fax speed and batch time have no place in a vCard.
TEST_F(QzbctlContacts, ExportThenImportIntoAnEmptyBookGivesTheSameBook)
{
    for (const std::int32_t model : kModels) {
        SCOPED_TRACE(model);
        ASSERT_EQ(Run({"--model", std::to_string(model), "new", File("a.dat")}).status, kExitOk);
        ASSERT_EQ(Run({"--model", std::to_string(model), "new", File("b.dat")}).status, kExitOk);
        const std::vector<std::vector<std::string>> sets = {
            {"speed:3", "name=Büro Süd", "number=0301234-56", "speed=1", "batch=09:15", "groups=2,5"},
            {"speed:7", "name=Lager", "number=0891234P9", "groups=2"},
            {"speed:12", "kind=email", "name=Anna", "address=anna@example.org", "groups=9"},
            {"speed:40", "name=", "number=*31#0401"},
            {"speed:220", "kind=email", "name=Letzte", "address=z@example.org"},
            {"group:2", "name=Team; Nord, Süd"},
        };
        for (std::vector<std::string> values : sets) {
            values.insert(values.begin(), {"entry", "set", File("a.dat")});
            const CRun set = Run(values);
            ASSERT_EQ(set.status, kExitOk) << values[3] << ": " << set.err;
        }
        ASSERT_EQ(Run({"contacts-export", File("a.dat"), File("book.vcf")}).status, kExitOk);
        const CRun imported = Run({"contacts-import", File("b.dat"), File("book.vcf"), "--json"});
        ASSERT_EQ(imported.status, kExitOk) << imported.err;

        const CRun diff = Run({"diff", File("a.dat"), File("b.dat"), "--json"});
        const Json changes = Json::parse(diff.out);
        EXPECT_TRUE(changes["settings"].empty()) << changes["settings"].dump();
        for (const Json& change : changes["directory"]) {
            EXPECT_EQ(change["change"], "changed") << change.dump();
            EXPECT_EQ(change["list"], DirectoryListName(DirectoryList::Speed)) << change.dump();
            for (const Json& field : change["fields"]) {
                EXPECT_TRUE(field["name"] == "speed" || field["name"] == "batch") << change.dump();
            }
        }
        const Json a = Dump("a.dat");
        const Json b = Dump("b.dat");
        EXPECT_EQ(b["groups"].size(), a["groups"].size());
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
