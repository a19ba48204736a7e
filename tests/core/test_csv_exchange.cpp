#include "addressbook/csv_exchange.h"

#include "addressbook/address_book.h"
#include "addressbook/mail_address.h"
#include "app/english_texts.h"
#include "model/input_chars.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace qzb {

static void PrintTo(const CCsvNote& note, std::ostream* out)
{
    *out << note.key << "/" << static_cast<int>(note.reason) << "/" << note.member;
}

namespace {

constexpr std::uint16_t kImportDate = (26 << 9) | (12 << 5) | 7;

TextLookup Labels()
{
    return [](std::string_view key) { return key == "STR_DR_LST_ITEM_GROUP" ? u"Group %02d" : u""; };
}

std::vector<std::string> Lines(const std::string& csv)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < csv.size()) {
        const std::size_t end = csv.find("\r\n", pos);
        lines.push_back(csv.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string csv;
    for (const auto& line : lines) {
        csv += line + "\r\n";
    }
    return csv;
}

CFaxMailEntry CsvFax(std::int32_t number, const char* name, const char* digits)
{
    CFaxMailEntry entry;
    entry.number = number;
    entry.name.Assign(name);
    entry.address.Assign(digits);
    entry.setDate = kImportDate;
    return entry;
}

class CsvExchange : public ::testing::Test
{
protected:
    std::string Export() const { return BuildAddressBookCsv(book, store, Labels()); }
    MessageCode Import(const std::string& csv) { return ParseAddressBookCsv(csv, book, store, kImportDate); }

    CValueStore store;
    CAddressBook book;
};

TEST_F(CsvExchange, EmptyBookIs290NaLinesInKeyOrder)
{
    const std::string csv = Export();
    const auto lines = Lines(csv);
    ASSERT_EQ(lines.size(), 290u);
    EXPECT_EQ(lines[0], "OTD01,NA,");
    EXPECT_EQ(lines[19], "OTD20,NA,");
    EXPECT_EQ(lines[20], "SPD001,NA,");
    EXPECT_EQ(lines[269], "SPD250,NA,");
    EXPECT_EQ(lines[270], "DHD01,NA,");
    EXPECT_EQ(lines[289], "DHD20,NA,");
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
    ASSERT_EQ(Import(csv), kOk);
    EXPECT_TRUE(book.Empty());
}

TEST_F(CsvExchange, FaxAndMailLines)
{
    CFaxMailEntry fax = CsvFax(7, "Office, main", "0123-456");
    fax.faxSpeed = kFaxSpeed33600;
    CFaxMailEntry batch = CsvFax(8, "Night", "99");
    batch.faxSpeed = kFaxSpeed9600;
    batch.batchHour = 23;
    batch.batchMinute = 5;
    CFaxMailEntry mail = CsvFax(9, "Anna", "anna@example.com");
    mail.kind = kKindMail;
    mail.faxSpeed = kFaxSpeedNotSet;
    for (const auto& entry : {fax, batch, mail}) {
        ASSERT_EQ(book.PutFaxMailEntry(entry), kOk);
    }
    const std::string csv = Export();
    const auto lines = Lines(csv);
    EXPECT_EQ(lines[26], "SPD007,Fax,\aOffice, main\a,0123-456,33.6K,,");
    EXPECT_EQ(lines[27], "SPD008,Fax,Night,99,9.6K,23,5,");
    EXPECT_EQ(lines[28], "SPD009,E-mail,Anna,anna@example.com,");

    const CAddressBook before = book;
    book.Clear();
    ASSERT_EQ(Import(csv), kOk);
    EXPECT_EQ(book, before);
    EXPECT_EQ(book.FindFaxMailEntry(7)->batchHour, -1);
    EXPECT_EQ(book.FindFaxMailEntry(7)->name.View(), "Office, main");
}

TEST_F(CsvExchange, ScanLinesCarryTheirSettingsAndTheShiftedPassword)
{
    CScanEntry ftp;
    ftp.number = 221;
    ftp.name.Assign("Archive");
    ftp.serverAddress = u"ftp.example.com";
    ftp.directory = u"/scans,2026";
    ftp.useProxy = 1;
    ftp.port = 2121;
    ftp.colourMode = 1;
    ftp.account = kAccountPrivateSite;
    ftp.userName = u"scanner";
    ftp.password = u"Pw0rd~";
    ftp.setDate = kImportDate;
    CScanEntry smb;
    smb.number = 250;
    smb.protocol = kProtocolSmb;
    smb.serverAddress = u"\\\\server\\share";
    smb.mailNotification = 1;
    smb.notificationAddresses[9] = u"it@example.com";
    smb.setDate = kImportDate;
    ASSERT_EQ(book.PutScanEntry(ftp), kOk);
    ASSERT_EQ(book.PutScanEntry(smb), kOk);

    const std::string csv = Export();
    const auto lines = Lines(csv);
    std::string password;
    for (char c : std::string("Pw0rd~")) {
        password.push_back(static_cast<char>(c + 48));
    }
    EXPECT_EQ(lines[240],
              "SPD221,FTP,Archive,ftp.example.com,\a/scans,2026\a,on,2121,0,1,0,0,0,0,0,off,,,,,,,,,,,1,scanner," +
                  password + ",");
    EXPECT_EQ(lines[269], "SPD250,SMB,,\\\\server\\share,,0,0,0,0,0,0,0,on,,,,,,,,,,it@example.com,0,,,");

    const CAddressBook before = book;
    book.Clear();
    ASSERT_EQ(Import(csv), kOk);
    EXPECT_EQ(book, before) << "an SMB destination must come back from its own export";
}

TEST_F(CsvExchange, GroupsAndFavourites)
{
    ASSERT_EQ(book.PutFaxMailEntry(CsvFax(1, "A", "1")), kOk);
    ASSERT_EQ(book.PutFaxMailEntry(CsvFax(17, "B", "17")), kOk);
    ASSERT_EQ(book.SetGroupMembership(3, 17, true, kKindFax, kImportDate), kOk);
    ASSERT_EQ(book.SetGroupMembership(3, 1, true, kKindFax, kImportDate), kOk);
    ASSERT_EQ(book.SetGroupName(3, "Sales", kImportDate), kOk);
    ASSERT_EQ(book.SetGroupMembership(4, 1, true, kKindFax, kImportDate), kOk); // unnamed
    ASSERT_EQ(book.AddFavourite(1, kTargetGroup, 3), kOk);
    ASSERT_EQ(book.AddFavourite(2, kTargetSpeedDial, 17), kOk);
    ASSERT_EQ(book.AddFavourite(3, kTargetSpeedDial, 99), kOk); // points nowhere
    const auto lines = Lines(Export());
    EXPECT_EQ(lines[2], "OTD03,Group,Sales,001-SP,017-SP,");
    EXPECT_EQ(lines[3], "OTD04,Group,Group 04,001-SP,");
    EXPECT_EQ(lines[270], "DHD01,GROUP,3,");
    EXPECT_EQ(lines[271], "DHD02,SPEED,17,");
    EXPECT_EQ(lines[272], "DHD03,NA,");
}

TEST_F(CsvExchange, ImportKeepsOnlyValidMembersAndLeavesSlotGaps)
{
    auto lines = Lines(Export());
    lines[0] = "OTD01,Group,Team,005-SP,300-SP,007-SP,xyz,";
    lines[24] = "SPD005,Fax,Five,555,14.4K,,";
    lines[25] = "SPD006,E-mail,Six,six@example.com,";
    lines[271] = "DHD02,SPEED,5,";
    lines[273] = "DHD04,GROUP,21,";
    // A speed dial and a group the file does not hold: the export would leave such keys out.
    lines[274] = "DHD05,SPEED,9,";
    lines[275] = "DHD06,GROUP,2,";
    std::vector<CCsvNote> notes;
    ASSERT_EQ(ParseAddressBookCsv(Join(lines), book, store, kImportDate, &notes), kOk);
    EXPECT_EQ(notes,
              (std::vector<CCsvNote>{{"OTD01", CsvNoteReason::MemberMissing, 300, "300-SP"},
                                     {"OTD01", CsvNoteReason::MemberMissing, 7, "007-SP"},
                                     {"OTD01", CsvNoteReason::MemberUnreadable, 0, "xyz"},
                                     {"DHD04", CsvNoteReason::TargetInvalid},
                                     {"DHD05", CsvNoteReason::TargetInvalid},
                                     {"DHD06", CsvNoteReason::TargetInvalid}}));
    ASSERT_NE(book.FindGroup(1), nullptr);
    EXPECT_EQ(book.FindGroup(1)->members, (std::vector<std::int32_t>{5}));
    EXPECT_EQ(book.FindGroup(1)->kind, kKindFax);
    ASSERT_EQ(book.Favourites().size(), 1u);
    EXPECT_EQ(book.Favourites()[0].number, 2);
    EXPECT_EQ(book.Favourites()[0].targetNumber, 5);
    EXPECT_EQ(book.FindFaxMailEntry(5)->setDate, kImportDate);
}

TEST_F(CsvExchange, FieldRulesSkipOrEmptyWhatTheDeviceCannotTake)
{
    auto lines = Lines(Export());
    lines[20] = "SPD001,Fax,Bad<>Name,12x,,"; // fax number with a letter: line ignored
    lines[21] = "SPD002,Fax,Bad\xE4\xB8\x80Name,123,,25,10,"; // name refused, hour 25: no batch time
    lines[22] = "SPD003,Telex,Name,123,";
    lines[23] = "SPD004,E-mail,Name,,"; // no address: ignored
    lines[240] = "SPD221,FTP,Srv,back\\slash,,off,21,0,0,0,0,0,0,0,off,,,,,,,,,,,0,,,";
    lines[241] = "SPD222,SMB,Srv,\\\\host\\share,,0,1,9,0,0,0,0,off,,,,,,,,,,,0,,,";
    std::vector<CCsvNote> notes;
    ASSERT_EQ(ParseAddressBookCsv(Join(lines), book, store, kImportDate, &notes), kOk);
    // Every line left out or changed is told, with the line's key, so a report can name its line.
    EXPECT_EQ(notes,
              (std::vector<CCsvNote>{{"SPD001", CsvNoteReason::FaxNumberInvalid, 0, "12x"},
                                     {"SPD002", CsvNoteReason::NameEmptied},
                                     {"SPD002", CsvNoteReason::FieldDefaulted, 0, "batch time"},
                                     {"SPD003", CsvNoteReason::KindUnknown},
                                     {"SPD004", CsvNoteReason::AddressMissing},
                                     {"SPD221", CsvNoteReason::ServerInvalid, 0, "back\\slash"},
                                     {"SPD222", CsvNoteReason::FieldDefaulted, 0, "resolution"}}));
    EXPECT_EQ(book.FindScanEntry(222)->resolution, 1);
    EXPECT_EQ(book.FindFaxMailEntry(1), nullptr);
    ASSERT_NE(book.FindFaxMailEntry(2), nullptr);
    EXPECT_TRUE(book.FindFaxMailEntry(2)->name.Empty());
    EXPECT_EQ(book.FindFaxMailEntry(2)->batchHour, -1);
    EXPECT_EQ(book.FindFaxMailEntry(3), nullptr);
    EXPECT_EQ(book.FindFaxMailEntry(4), nullptr);
    EXPECT_EQ(book.FindScanEntry(221), nullptr) << "an FTP address takes no backslash";
}

// A damaged UTF-8 sequence ends where the next comma or ASCII byte begins: it never swallows the
// field after it, whether or not the line encloses a field, and fields longer than eight bytes
// split alike at every offset.
TEST_F(CsvExchange, DamagedUtf8NeverMovesAFieldBoundary)
{
    auto lines = Lines(Export());
    lines[20] = "SPD001,E-mail,Zo\xC3,a@b.test,";
    lines[21] = "SPD002,E-mail,\x07Zo\xE2\x82,x\x07,abcdefgh\xC3\xA9@longer-domain.test,";
    lines[22] = "SPD003,Fax,\xF0\x9F,0123456789,9.6K,,";
    lines[23] = "SPD004,Fax,A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"
                "bcdefghijk,12,33.6K,07,05,";
    std::vector<CCsvNote> notes;
    ASSERT_EQ(ParseAddressBookCsv(Join(lines), book, store, kImportDate, &notes), kOk);
    EXPECT_EQ(
        notes,
        (std::vector<CCsvNote>{{"SPD001", CsvNoteReason::NameEmptied},
                               {"SPD002", CsvNoteReason::AddressInvalid, 0, "abcdefgh\xC3\xA9@longer-domain.test"},
                               {"SPD003", CsvNoteReason::NameEmptied},
                               {"SPD004", CsvNoteReason::NameEmptied}}));
    ASSERT_NE(book.FindFaxMailEntry(1), nullptr);
    EXPECT_EQ(book.FindFaxMailEntry(1)->address.View(), "a@b.test");
    EXPECT_EQ(book.FindFaxMailEntry(2), nullptr) << "an address with an accent is refused, not cut";
    ASSERT_NE(book.FindFaxMailEntry(3), nullptr);
    EXPECT_EQ(book.FindFaxMailEntry(3)->address.View(), "0123456789");
    EXPECT_EQ(book.FindFaxMailEntry(3)->faxSpeed, kFaxSpeed9600);
    ASSERT_NE(book.FindFaxMailEntry(4), nullptr);
    EXPECT_EQ(book.FindFaxMailEntry(4)->batchHour, 7);
    EXPECT_EQ(book.FindFaxMailEntry(4)->batchMinute, 5);
}

TEST_F(CsvExchange, MalformedFilesChangeNothing)
{
    ASSERT_EQ(book.PutFaxMailEntry(CsvFax(12, "Keep", "12")), kOk);
    const CAddressBook before = book;
    const std::string good = Export();
    auto lines = Lines(good);

    auto wrongKey = lines;
    wrongKey[20] = "SPD002,NA,";
    auto noComma = lines;
    noComma[100] = "SPD081";
    auto longLine = lines;
    longLine[30] = "SPD011,Fax," + std::string(kMaxCsvLineBytes, 'x');
    auto shortFile = lines;
    shortFile.pop_back();
    for (const std::string& csv : {Join(wrongKey), Join(noComma), Join(longLine), Join(shortFile), std::string()}) {
        EXPECT_EQ(Import(csv), kMsgReadFileError);
        EXPECT_EQ(book, before);
    }
    // Lines after the last key are not read; a byte-order mark from another editor is passed over.
    EXPECT_EQ(Import("\xEF\xBB\xBF" + good + "trailing junk\r\n"), kOk);
    EXPECT_EQ(book, before);
}

TEST_F(CsvExchange, PasswordsTheImportCannotReadBackAreLeftOutAndNoted)
{
    struct CCase
    {
        std::u16string password;
        bool written;
    };
    const CCase cases[] = {
        {u"Pw0rd~ !", true},
        {u"gr\u00FCn", false}, // the shift wrapped the u-umlaut into a comma
        {u"\u043F\u0430\u0440\u043E\u043B\u044C", false}, // and Cyrillic letters into line ends
        {u"tab\there", false},
        {u"semi;colon", false}, // printable, but no account field takes it
        {u"abcdefghijklmnopqrstu", false}, // 21 characters
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CScanEntry entry;
        entry.number = 221 + static_cast<std::int32_t>(i);
        entry.serverAddress = u"ftp.example.com";
        entry.account = kAccountPrivateSite;
        entry.userName = u"user";
        entry.password = cases[i].password;
        entry.setDate = kImportDate;
        ASSERT_EQ(book.PutScanEntry(entry), kOk);
    }
    std::vector<CCsvNote> notes;
    const std::string csv = BuildAddressBookCsv(book, store, Labels(), &notes);
    const auto lines = Lines(csv);
    ASSERT_EQ(lines.size(), kCsvLines);
    CAddressBook imported;
    ASSERT_EQ(ParseAddressBookCsv(csv, imported, store, kImportDate), kOk);
    std::vector<CCsvNote> expected;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::int32_t number = 221 + static_cast<std::int32_t>(i);
        const std::string& line = lines[240 + i];
        ASSERT_NE(imported.FindScanEntry(number), nullptr) << number;
        EXPECT_EQ(imported.FindScanEntry(number)->userName, u"user") << number;
        if (cases[i].written) {
            EXPECT_EQ(imported.FindScanEntry(number)->password, cases[i].password);
        } else {
            EXPECT_EQ(line.substr(line.size() - 7), ",user,,") << number;
            EXPECT_TRUE(imported.FindScanEntry(number)->password.empty()) << number;
            expected.push_back({"SPD" + std::to_string(number), CsvNoteReason::PasswordLeftOut, 0});
        }
    }
    EXPECT_EQ(notes, expected);
}

// Every text at its longest in three-byte characters, with a comma to enclose it, and every number
// at its widest: the export's longest line is exactly what the import reads, and longer texts are
// cut to their fields.
TEST_F(CsvExchange, TheImportReadsTheLongestLineTheExportWrites)
{
    for (const std::size_t excess : {std::size_t{0}, std::size_t{100}}) {
        auto wide = [excess](std::size_t units) {
            return std::u16string(1, u',').append(units - 1 + excess, u'\u4E00');
        };
        CScanEntry entry;
        entry.number = 221;
        entry.name.Assign("," + std::string(19, '\x18')); // the euro sign in panel code
        entry.serverAddress = wide(kCsvAddressUnits);
        entry.directory = wide(kCsvDirectoryUnits);
        for (auto& address : entry.notificationAddresses) {
            address = wide(kCsvAddressUnits);
        }
        entry.port = INT_MIN;
        entry.colourMode = entry.resolution = entry.scanMode = entry.fileFormat = entry.codingMethod = entry.scanArea =
            INT_MIN;
        entry.account = kAccountPrivateSite;
        entry.userName = wide(kCsvUserNameUnits);
        entry.password = u"abcdefghijklmnopqrst";
        ASSERT_EQ(book.PutScanEntry(entry), kOk);
        std::vector<CCsvNote> notes;
        const std::string csv = BuildAddressBookCsv(book, store, Labels(), &notes);
        const auto lines = Lines(csv);
        EXPECT_EQ(lines[240].size(), kMaxCsvLineBytes);
        for (const std::string& line : lines) {
            EXPECT_LE(line.size(), kMaxCsvLineBytes);
        }
        EXPECT_EQ(
            notes,
            (excess == 0 ? std::vector<CCsvNote>{} : std::vector<CCsvNote>{{"SPD221", CsvNoteReason::TextCut, 0}}));
        CAddressBook imported;
        EXPECT_EQ(ParseAddressBookCsv(csv, imported, store, kImportDate), kOk);
    }
}

TEST_F(CsvExchange, ImportKeepsOnlyMembersOfTheFirstMembersKind)
{
    auto lines = Lines(Export());
    lines[0] = "OTD01,Group,Faxes,007-SP,006-SP,005-SP,";
    lines[1] = "OTD02,Group,Mail,008-SP,007-SP,006-SP,";
    lines[2] = "OTD03,Group,Alone,006-SP,";
    lines[24] = "SPD005,Fax,Five,555,,,";
    lines[25] = "SPD006,E-mail,Six,six@example.com,";
    lines[26] = "SPD007,Fax,Seven,777,,,";
    lines[27] = "SPD008,E-mail,Eight,eight@example.com,";
    std::vector<CCsvNote> notes;
    ASSERT_EQ(ParseAddressBookCsv(Join(lines), book, store, kImportDate, &notes), kOk);
    const std::pair<std::vector<std::int32_t>, std::int32_t> groups[] = {
        {{5, 7}, kKindFax}, {{6, 8}, kKindMail}, {{6}, kKindMail}};
    for (std::int32_t g = 1; g <= 3; ++g) {
        ASSERT_NE(book.FindGroup(g), nullptr);
        EXPECT_EQ(book.FindGroup(g)->members, groups[g - 1].first) << g;
        EXPECT_EQ(book.FindGroup(g)->kind, groups[g - 1].second) << g;
    }
    EXPECT_EQ(notes,
              (std::vector<CCsvNote>{{"OTD01", CsvNoteReason::MemberOfOtherKind, 6},
                                     {"OTD02", CsvNoteReason::MemberOfOtherKind, 7}}));
}

TEST_F(CsvExchange, ImportLeavesOutAGroupWhoseMembersWereAllLeftOut)
{
    auto lines = Lines(Export());
    lines[0] = "OTD01,Group,Kept,005-SP,";
    lines[1] = "OTD02,Group,Emptied,009-SP,x,";
    lines[24] = "SPD005,Fax,Five,555,,,";
    std::vector<CCsvNote> notes;
    ASSERT_EQ(ParseAddressBookCsv(Join(lines), book, store, kImportDate, &notes), kOk);
    ASSERT_EQ(book.Groups().size(), 1u);
    EXPECT_EQ(book.Groups()[0].number, 1);
    EXPECT_EQ(book.FindGroup(2), nullptr) << "a group the device would drop at the next upload";
    EXPECT_NE(std::find(notes.begin(), notes.end(), CCsvNote{"OTD02", CsvNoteReason::GroupEmpty}), notes.end());
}

TEST(CsvReport, NotesNameTheirLinesAndTheSummaryCountsEachKind)
{
    const TextLookup texts = [](std::string_view key) -> std::u16string {
        if (key == "STR_CSV_NOTE_LINE") {
            return u"line %s (%s):";
        }
        if (key == "STR_CSV_NOTE_MEMBER_MISSING") {
            return u"member %s left out";
        }
        if (key.starts_with("STR_CSV_COUNT_")) {
            return key.ends_with("_ONE") ? u"%s one" : u"%s";
        }
        return key == "STR_MSG_CSV_READ_COUNTS" ? u"%s/%s/%s/%s %s" : u"";
    };
    EXPECT_EQ(CsvLineOfKey("OTD01"), 1);
    EXPECT_EQ(CsvLineOfKey("SPD005"), 25);
    EXPECT_EQ(CsvLineOfKey("DHD20"), 290);
    EXPECT_EQ(CsvLineOfKey("XYZ"), 0);
    // A key is a line's only in the exact spelling the file uses.
    for (const char* key : {"SPD5", "SPD0005", "SPD251", "OTD00", "DHD21", "SPD005 ", "spd005", "SPD-05", "SPD"}) {
        EXPECT_EQ(CsvLineOfKey(key), 0) << key;
    }
    EXPECT_EQ(CsvNoteLine({"OTD02", CsvNoteReason::MemberMissing, 7}, texts),
              u"line 2 (OTD02): member 007-SP left out");
    EXPECT_EQ(CsvNoteLine({"OTD02", CsvNoteReason::MemberMissing, 0, "%s"}, texts),
              u"line 2 (OTD02): member %s left out")
        << "a field from the file is put in literally";
    EXPECT_EQ(CsvReadSummary({3, 2, 1, 0}, texts), u"3/2/1 one/0 %s") << "one of a list is named in the singular";
}

// The report says in plain words what is wrong with each line and quotes the value as the file
// wrote it: a member by its "300-SP", a server that is missing as missing. An e-mail address the
// characters allow but the editor refuses is imported, and told.
TEST_F(CsvExchange, ReportLinesNameTheFaultAndTheValueAsWritten)
{
    auto lines = Lines(Export());
    lines[0] = "OTD01,Group,Team,005-SP,300-SP,";
    lines[24] = "SPD005,Fax,Five,555,,,";
    lines[25] = "SPD006,E-mail,Six,six.example.com,";
    lines[241] = "SPD222,SMB,Srv,,,0,1,1,0,0,0,0,off,,,,,,,,,,,0,,,";
    std::vector<CCsvNote> notes;
    ASSERT_EQ(ParseAddressBookCsv(Join(lines), book, store, kImportDate, &notes), kOk);
    std::vector<std::u16string> shown;
    for (const CCsvNote& note : notes) {
        shown.push_back(CsvNoteLine(note, EnglishText));
    }
    const auto has = [&](std::u16string_view line) {
        return std::find(shown.begin(), shown.end(), line) != shown.end();
    };
    EXPECT_TRUE(has(u"line 1 (OTD01): member 300-SP left out: the file registers no fax or e-mail speed dial of "
                    u"that number (they are numbered 001 to 220)"));
    EXPECT_TRUE(has(u"line 242 (SPD222): left out: the server address is missing"));
    EXPECT_TRUE(has(u"line 26 (SPD006): imported, but the e-mail address \"six.example.com\" needs one \"@\" "
                    u"between a name and a domain: the entry editor will not accept it until it is corrected"));
    ASSERT_NE(book.FindFaxMailEntry(6), nullptr) << "imported as the characters allow";
    EXPECT_EQ(book.FindFaxMailEntry(6)->address.View(), "six.example.com");
    EXPECT_FALSE(IsEmailAddress(u"six.example.com")) << "the editor's own check refuses it";
    for (const std::u16string& line : shown) {
        const std::string text(line.begin(), line.end());
        EXPECT_EQ(line.find(u"SPD300"), std::u16string::npos) << text;
        EXPECT_EQ(line.find(u"otherwise than"), std::u16string::npos) << text;
        EXPECT_EQ(line.find(u"it is no fax"), std::u16string::npos) << text;
    }
    EXPECT_EQ(notes.size(), 3u);
    EXPECT_EQ(EnglishText("STR_MSG_CSV_IMPORT_NOTES"),
              u"These lines of the file were not imported as the file has them:");
}

TEST(CsvPaths, ExtensionRule)
{
    EXPECT_EQ(WithCsvExtension("/tmp/book"), "/tmp/book.csv");
    EXPECT_EQ(WithCsvExtension("/tmp/book.CSV"), "/tmp/book.CSV");
    EXPECT_EQ(WithCsvExtension("/tmp/book.Csv"), "/tmp/book.Csv");
    EXPECT_EQ(WithCsvExtension("/tmp/book.txt"), "/tmp/book.txt.csv");
}

TEST(CsvFiles, ExportReplacesAtomicallyAndImportReadsItBack)
{
    namespace fs = std::filesystem;
    const auto folder = fs::temp_directory_path() / "qzb-csv-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    CValueStore store;
    CAddressBook book;
    ASSERT_EQ(book.PutFaxMailEntry(CsvFax(3, "Three", "333")), kOk);
    ASSERT_EQ(ExportAddressBook(folder / "book", book, store, Labels()), kOk);
    ASSERT_TRUE(fs::exists(folder / "book.csv"));
    CAddressBook read;
    ASSERT_EQ(ImportAddressBook(folder / "book.csv", read, store, kImportDate), kOk);
    EXPECT_EQ(read, book);

    // The file may hold passwords: its owner's alone, new or replacing a file others could read.
    const auto rights = [](const fs::path& path) { return fs::status(path).permissions() & fs::perms::all; };
    EXPECT_EQ(rights(folder / "book.csv"), fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(folder / "book.csv", fs::perms::all);
    ASSERT_EQ(ExportAddressBook(folder / "book.csv", book, store, Labels()), kOk);
    EXPECT_EQ(rights(folder / "book.csv"), fs::perms::owner_read | fs::perms::owner_write);

    // A file that is not there is not a damaged one, and the system's reason comes along.
    CCsvReport report;
    EXPECT_EQ(ImportAddressBook(folder / "missing.csv", read, store, kImportDate, &report), kMsgOpenFileError);
    EXPECT_EQ(report.systemError, ENOENT);
    report = {};
    EXPECT_EQ(ImportAddressBook(folder, read, store, kImportDate, &report), kMsgOpenFileError);
    EXPECT_EQ(report.systemError, EISDIR);
    EXPECT_EQ(read, book);
    report = {};
    EXPECT_EQ(ExportAddressBook(folder / "no-such-folder" / "x.csv", book, store, Labels(), &report),
              kMsgWriteFileError);
    EXPECT_EQ(report.systemError, ENOENT);
    fs::remove_all(folder);
}

// Random full books in several panel languages survive export and import unchanged.
class CsvRoundTrip : public ::testing::TestWithParam<std::int32_t>
{
};

std::u16string
RandomText(std::mt19937& random, std::u16string_view alphabet, std::size_t minLength, std::size_t maxLength)
{
    std::uniform_int_distribution<std::size_t> length(minLength, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::u16string text;
    for (std::size_t n = length(random); n > 0; --n) {
        text.push_back(alphabet[pick(random)]);
    }
    return text;
}

TEST_P(CsvRoundTrip, FullBookSurvivesExportAndImport)
{
    const std::int32_t language = GetParam();
    CValueStore store;
    store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", language);
    std::u16string nameAlphabet;
    for (char16_t ch :
         std::u16string(u"ABCxyz019 ,.-&\u00C6\u00C7\u0141\u0104\u015A\u010C\u0411\u0416\u044F\uFF71\uFF8F")) {
        const std::u16string one(1, ch);
        if (IsInputTextValid(one, 6, store) && PanelBytesToText(TextToPanelBytes(one), language) == one) {
            nameAlphabet.push_back(ch);
        }
    }
    ASSERT_GE(nameAlphabet.size(), 8u);
    const std::u16string address = u"abcXYZ019.-_@,!#$%&'()*+/:=?[]^`{|}";
    const std::u16string dial = u"0123456789*# -P";
    std::u16string password; // printable ASCII the account fields take; "~" is no panel character in Japanese
    for (char16_t ch = u' '; ch <= u'~'; ++ch) {
        if (IsInputTextValid(std::u16string(1, ch), 7, store)) {
            password.push_back(ch);
        }
    }

    std::mt19937 random(static_cast<std::uint32_t>(language) * 7919u + 17u);
    auto coin = [&random] { return std::uniform_int_distribution<int>(0, 1)(random) == 1; };
    auto panelName = [&](std::size_t minLength) {
        return TextToPanelBytes(RandomText(random, nameAlphabet, minLength, 20));
    };
    CAddressBook book;
    for (std::int32_t n = 1; n <= 220; ++n) {
        CFaxMailEntry entry;
        entry.number = n;
        entry.setDate = kImportDate;
        entry.name.Assign(panelName(0));
        if (coin()) {
            entry.kind = kKindMail;
            entry.faxSpeed = kFaxSpeedNotSet;
            entry.address.Assign(Utf16ToUtf8(RandomText(random, address, 1, 64)));
        } else {
            entry.faxSpeed = std::uniform_int_distribution<int>(0, 3)(random);
            entry.address.Assign(Utf16ToUtf8(RandomText(random, dial, 1, 50)));
            if (coin()) {
                entry.batchHour = std::uniform_int_distribution<int>(0, 23)(random);
                entry.batchMinute = std::uniform_int_distribution<int>(0, 59)(random);
            }
        }
        ASSERT_EQ(book.PutFaxMailEntry(entry), kOk);
    }
    for (std::int32_t n = 221; n <= 250; ++n) {
        CScanEntry entry;
        entry.number = n;
        entry.setDate = kImportDate;
        entry.name.Assign(panelName(0));
        entry.protocol = coin() ? kProtocolFtp : kProtocolSmb;
        entry.serverAddress = entry.protocol == kProtocolSmb ? u"\\\\" + RandomText(random, address, 1, 40)
                                                             : RandomText(random, address, 1, 64);
        entry.directory = RandomText(random, address, 0, 128);
        if (entry.protocol == kProtocolFtp) {
            entry.useProxy = coin() ? 1 : 0;
            entry.port = std::uniform_int_distribution<int>(1, 65535)(random);
        }
        entry.colourMode = std::uniform_int_distribution<int>(0, 1)(random);
        entry.resolution = std::uniform_int_distribution<int>(0, 2)(random);
        entry.scanMode = std::uniform_int_distribution<int>(0, 2)(random);
        entry.fileFormat = std::uniform_int_distribution<int>(0, 2)(random);
        entry.codingMethod = std::uniform_int_distribution<int>(0, 2)(random);
        entry.scanArea = std::uniform_int_distribution<int>(0, 5)(random);
        entry.mailNotification = coin() ? 1 : 0;
        for (auto& notify : entry.notificationAddresses) {
            notify = RandomText(random, address, 0, 64);
        }
        if (coin()) {
            entry.account = kAccountPrivateSite;
            entry.userName = RandomText(random, address, 0, 20);
            entry.password = RandomText(random, password, 0, 20);
        }
        ASSERT_EQ(book.PutScanEntry(entry), kOk);
    }
    for (std::int32_t g = 1; g <= 20; ++g) {
        CGroupEntry group;
        group.number = g;
        group.setDate = kImportDate;
        group.name.Assign(panelName(1));
        const std::int32_t first = std::uniform_int_distribution<int>(1, 200)(random);
        // All members of a group share its kind, that of its first member.
        for (std::int32_t m = first; m <= 220 && group.members.size() < 50; m += 1 + (g % 7)) {
            if (book.FindFaxMailEntry(m)->kind == book.FindFaxMailEntry(first)->kind) {
                group.members.push_back(m);
            }
        }
        group.kind = book.FindFaxMailEntry(group.members.front())->kind;
        ASSERT_EQ(book.PutGroup(group), kOk);
    }
    for (std::int32_t slot = 1; slot <= 20; ++slot) {
        if (coin()) {
            ASSERT_EQ(book.AddFavourite(slot, kTargetGroup, std::uniform_int_distribution<int>(1, 20)(random)), kOk);
        } else if (coin()) {
            ASSERT_EQ(book.AddFavourite(slot, kTargetSpeedDial, std::uniform_int_distribution<int>(1, 250)(random)),
                      kOk);
        }
    }

    const std::string csv = BuildAddressBookCsv(book, store, Labels());
    CAddressBook imported;
    ASSERT_EQ(ParseAddressBookCsv(csv, imported, store, kImportDate), kOk);
    for (std::int32_t n = 1; n <= 250; ++n) {
        const auto* fax = book.FindFaxMailEntry(n);
        const auto* scan = book.FindScanEntry(n);
        EXPECT_TRUE(!fax || (imported.FindFaxMailEntry(n) && *imported.FindFaxMailEntry(n) == *fax)) << n;
        EXPECT_TRUE(!scan || (imported.FindScanEntry(n) && *imported.FindScanEntry(n) == *scan)) << n;
    }
    for (std::int32_t g = 1; g <= 20; ++g) {
        ASSERT_NE(imported.FindGroup(g), nullptr);
        EXPECT_EQ(imported.FindGroup(g)->members, book.FindGroup(g)->members) << "group " << g;
    }
    EXPECT_TRUE(imported == book);
    EXPECT_TRUE(BuildAddressBookCsv(imported, store, Labels()) == csv) << "export, import, export gives the same file";
}

// Books holding control characters and foreign text in every text field, as a crafted settings
// file may: the export still imports back with every entry and group, and notes what it changed.
TEST_P(CsvRoundTrip, ControlCharactersAndForeignTextNeverBreakTheFile)
{
    const std::int32_t language = GetParam();
    CValueStore store;
    store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", language);
    std::mt19937 random(static_cast<std::uint32_t>(language) * 104729u + 3u);
    std::u16string controls;
    for (char16_t ch = 1; ch < 0x20; ++ch) {
        controls.push_back(ch);
    }
    controls += u"\u007F";
    const std::u16string foreign = controls + u"\u0085\u009Fa,Z \u00FC\u0416\u20AC\u4E00\U0001F600";
    const std::u16string address = controls + u"abc@.-_,";
    const std::u16string dial = controls + u"0123456789*# -P";
    auto bytes = [&](std::u16string_view alphabet, std::size_t minLength, std::size_t maxLength) {
        std::string text;
        for (char16_t ch : RandomText(random, alphabet, minLength, maxLength)) {
            text.push_back(static_cast<char>(ch));
        }
        return text;
    };
    std::u16string panel; // every panel byte but the terminator
    for (char16_t ch = 1; ch <= 0xFF; ++ch) {
        panel.push_back(ch);
    }
    // Names that hold a line feed or U+0007, which broke the file before, must be noted.
    std::vector<std::string> mustNote;
    auto name = [&](std::int32_t n, const std::string& key) {
        std::string text = bytes(panel, 0, 20);
        if (n % 5 == 0 || n % 7 == 0) {
            text.insert(text.begin() + static_cast<std::ptrdiff_t>(text.size() / 2), n % 5 == 0 ? '\n' : '\a');
            mustNote.push_back(key);
        }
        return text;
    };

    CAddressBook book;
    for (std::int32_t n = 1; n <= 220; ++n) {
        CFaxMailEntry entry;
        entry.number = n;
        entry.kind = n % 3 == 0 ? kKindMail : kKindFax;
        entry.faxSpeed = entry.kind == kKindMail ? kFaxSpeedNotSet : kFaxSpeed9600;
        entry.name.Assign(name(n, "SPD" + std::string(n < 10 ? "00" : n < 100 ? "0" : "") + std::to_string(n)));
        entry.address.Assign(bytes(entry.kind == kKindMail ? address : dial, 1, entry.kind == kKindMail ? 64 : 50));
        ASSERT_EQ(book.PutFaxMailEntry(entry), kOk);
    }
    for (std::int32_t n = 221; n <= 250; ++n) {
        CScanEntry entry;
        entry.number = n;
        entry.protocol = n % 2 ? kProtocolFtp : kProtocolSmb;
        entry.name.Assign(name(n, "SPD" + std::to_string(n)));
        entry.serverAddress = RandomText(random, address, 1, 64);
        entry.directory = RandomText(random, foreign, 0, 140);
        for (auto& notify : entry.notificationAddresses) {
            notify = RandomText(random, foreign, 0, 70);
        }
        entry.account = kAccountPrivateSite;
        entry.userName = RandomText(random, foreign, 0, 24);
        entry.password = RandomText(random, foreign, 0, 24);
        ASSERT_EQ(book.PutScanEntry(entry), kOk);
    }
    for (std::int32_t g = 1; g <= 20; ++g) {
        CGroupEntry group;
        group.number = g;
        group.kind = g % 2 ? kKindFax : kKindMail;
        group.name.Assign(name(g, "OTD" + std::string(g < 10 ? "0" : "") + std::to_string(g)));
        for (std::int32_t m = g % 2 ? 1 : 3; m <= 220 && group.members.size() < 50; m += g % 2 ? 1 + g : 3 * g) {
            if (book.FindFaxMailEntry(m)->kind == group.kind) {
                group.members.push_back(m);
            }
        }
        ASSERT_EQ(book.PutGroup(group), kOk);
    }

    std::vector<CCsvNote> notes;
    const std::string csv = BuildAddressBookCsv(book, store, Labels(), &notes);
    CAddressBook imported;
    ASSERT_EQ(ParseAddressBookCsv(csv, imported, store, kImportDate), kOk);
    for (std::int32_t n = 1; n <= 250; ++n) {
        EXPECT_TRUE(n <= 220 ? imported.FindFaxMailEntry(n) != nullptr : imported.FindScanEntry(n) != nullptr) << n;
    }
    for (std::int32_t g = 1; g <= 20; ++g) {
        ASSERT_NE(imported.FindGroup(g), nullptr) << g;
        EXPECT_EQ(imported.FindGroup(g)->members, book.FindGroup(g)->members) << g;
    }
    for (const CScanEntry& entry : book.ScanEntries()) {
        const std::u16string& password = imported.FindScanEntry(entry.number)->password;
        const bool leftOut = std::count(
            notes.begin(), notes.end(), CCsvNote{"SPD" + std::to_string(entry.number), CsvNoteReason::PasswordLeftOut});
        EXPECT_TRUE(password == entry.password || (password.empty() && leftOut)) << entry.number;
    }
    for (const std::string& key : mustNote) {
        EXPECT_EQ(std::count(notes.begin(), notes.end(), CCsvNote{key, CsvNoteReason::ControlCharacters}), 1) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(PanelLanguages, CsvRoundTrip, ::testing::Values(0, 6, 8, 11, 12));

} // namespace
} // namespace qzb
