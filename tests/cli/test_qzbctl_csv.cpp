#include "tests/cli/qzbctl_fixture.h"

#include "app/app_context.h"
#include "files/dat_file.h"
#include "tests/support/full_device.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace qzb {
namespace {

std::vector<std::int32_t> Numbers(const Json& list)
{
    std::vector<std::int32_t> numbers;
    for (const Json& entry : list) {
        numbers.push_back(entry["number"].get<std::int32_t>());
    }
    return numbers;
}

// A settings file whose entry 3 is named "Al\nce", whose destination 221 has a password the
// shifted form cannot carry and notification addresses too long for the old line limit, and one
// of whose groups mixes the two kinds: the export notes what it changed, the import what it left
// out, and every entry and group comes back.
TEST_F(Qzbctl, CsvExchangeReportsWhatItChangedAndKeepsEveryEntry)
{
    CAppContext context(8314);
    CAddressBook& book = context.device.book;
    FillFullAddressBook(book);
    for (CFaxMailEntry entry : std::vector(book.FaxMailEntries())) {
        entry.address.Assign(entry.address.View().substr(0, 50)); // the longest fax number the import takes
        if (entry.number == 3) {
            entry.name.Assign("Al\nce");
        }
        ASSERT_EQ(book.PutFaxMailEntry(entry), kOk);
    }
    for (CScanEntry entry : std::vector(book.ScanEntries())) {
        // What the import takes back.
        entry.serverAddress = u"srv" + Ascii16(std::to_string(entry.number)) + u".test";
        entry.password = u"pw" + Ascii16(std::to_string(entry.number));
        if (entry.number == 221) {
            entry.password = u"gr\u00FCn";
            entry.notificationAddresses.fill(std::u16string(64, u'\u20AC'));
        }
        ASSERT_EQ(book.PutScanEntry(entry), kOk);
    }
    CGroupEntry mixed = *book.FindGroup(3); // fax members
    mixed.members.push_back(220); // an e-mail entry
    ASSERT_EQ(book.PutGroup(mixed), kOk);
    ASSERT_EQ(WriteDatFile(File("a.dat"), context), kOk);

    const CRun exported = Run({"csv-export", File("a.dat"), File("book")});
    EXPECT_EQ(exported.status, kExitOk);
    EXPECT_EQ(exported.err,
              "qzbctl: line 23 (SPD003): control characters written as spaces\n"
              "qzbctl: line 241 (SPD221): password left out: it holds characters the import cannot read back\n");
    EXPECT_EQ(fs::status(File("book.csv")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    ASSERT_EQ(Run({"--model", "8314", "new", File("b.dat")}).status, kExitOk);
    const CRun imported = Run({"csv-import", File("b.dat"), File("book.csv")});
    EXPECT_EQ(imported.status, kExitOk);
    const Json before = Dump("a.dat");
    const Json after = Dump("b.dat");
    // What was read first, then every line whose field the import could not take.
    const std::string summary = "qzbctl: Read " + std::to_string(after["faxMail"].size()) +
                                " fax and e-mail speed dials, " + std::to_string(after["scan"].size()) +
                                " scan-to-server speed dials, " + std::to_string(after["groups"].size()) +
                                " groups and " + std::to_string(after["favourites"].size()) + " favourites.\n";
    // Notes follow the file's lines, the group checked after its members included.
    const std::string first =
        "qzbctl: line 3 (OTD03): member 220-SP left out: a group holds only fax numbers or only e-mail addresses, "
        "as its first member does\n";
    EXPECT_EQ(imported.err.substr(0, summary.size() + first.size()), summary + first);
    EXPECT_NE(imported.err.find("qzbctl: line 241 (SPD221): the notification address is not valid"), std::string::npos);
    EXPECT_EQ(Numbers(after["faxMail"]), Numbers(before["faxMail"]));
    EXPECT_EQ(Numbers(after["scan"]), Numbers(before["scan"]));
    ASSERT_EQ(after["groups"].size(), 20u);
    for (std::size_t g = 0; g < 20; ++g) {
        if (g != 2) {
            EXPECT_EQ(after["groups"][g]["members"], before["groups"][g]["members"]) << g;
        }
    }
    EXPECT_EQ(after["faxMail"][2]["name"], "Al ce");
    EXPECT_EQ(after["groups"][2]["members"].size(), before["groups"][2]["members"].size() - 1);
}

TEST_F(Qzbctl, CsvFileErrorsNameTheFileAndTheSystemsReason)
{
    ASSERT_EQ(Run({"new", File("a.dat")}).status, kExitOk);
    const Bytes dat = Read(File("a.dat"));
    const CRun missing = Run({"csv-import", File("a.dat"), File("book.csv")});
    EXPECT_EQ(missing.status, kExitFailed);
    EXPECT_EQ(missing.err,
              "error 0x80020030: The file could not be opened. (" + File("book.csv") +
                  ": No such file or directory)\n");
    EXPECT_EQ(Read(File("a.dat")), dat);

    Write(File("bad.csv"), Bytes{'x', ','});
    EXPECT_EQ(Run({"csv-import", File("a.dat"), File("bad.csv")}).err,
              "error 0x80020032: The file could not be read: it is damaged or not an address book file. (" +
                  File("bad.csv") + ")\n");

    const CRun unwritable = Run({"csv-export", File("a.dat"), File("no-folder/book")});
    EXPECT_EQ(unwritable.status, kExitFailed);
    EXPECT_EQ(unwritable.err,
              "error 0x80020031: The file could not be written. (" + File("no-folder/book.csv") +
                  ": No such file or directory)\n");
}

} // namespace
} // namespace qzb
