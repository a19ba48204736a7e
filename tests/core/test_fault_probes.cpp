// Faults a user could meet at the edges of the directory, the image and the simulator: the last slot
// of a list, a kept SMB port, the second password copy, rights of backups, a refused upload, PREF
// order in contacts, overlong UTF-8 in imported files and the decoder's group member range.
#include "addressbook/contacts_import.h"
#include "addressbook/csv_exchange.h"
#include "addressbook/vcard_reader.h"
#include "app/app_context.h"
#include "device/device_commands.h"
#include "device/simulated_device.h"
#include "files/backups.h"
#include "machine/image_decoder.h"
#include "model/image_layout.h"
#include "model/machine_image.h"
#include "model/panel_code.h"
#include "pages/dial_commands.h"
#include "pages/dial_registration.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"
#include "tests/support/full_device.h"
#include "tests/support/image_bytes.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <string>
#include <tuple>
#include <vector>

namespace qzb {
namespace {

using FM = FaxMailField;
using S = ScanField;

// The first and last slot of each list, as the tree, the editors and qzbctl reach them.
class ListEdges : public testing::TestWithParam<std::int32_t>
{
protected:
    CValueStore store;
    CAddressBook book;
    CEntryEnv Env() const { return {&store, nullptr, 1}; }

    void MakeFax(std::int32_t number, std::u16string_view name)
    {
        CFaxMailEditor editor(book, number, Env());
        ASSERT_EQ(editor.SetText(FM::Name, std::u16string(name)).refusal, EntryRefusal::None);
        ASSERT_EQ(editor.SetText(FM::Number, u"0123").refusal, EntryRefusal::None);
        ASSERT_TRUE(editor.Ok(book).Ok()) << number;
    }
    void MakeScan(std::int32_t number, std::u16string_view name)
    {
        CScanEditor editor(book, number, Env());
        ASSERT_EQ(editor.SetText(S::Name, std::u16string(name)).refusal, EntryRefusal::None);
        ASSERT_EQ(editor.SetText(S::Server, u"host").refusal, EntryRefusal::None);
        ASSERT_TRUE(editor.Ok(book).Ok()) << number;
    }
    void MakeSpeedDial(std::int32_t number, std::u16string_view name)
    {
        number <= kLastFaxMailNumber ? MakeFax(number, name) : MakeScan(number, name);
    }
    std::string NameOf(std::int32_t number) const
    {
        if (number <= kLastFaxMailNumber) {
            const CFaxMailEntry* entry = book.FindFaxMailEntry(number);
            return entry ? std::string(entry->name.View()) : "<none>";
        }
        const CScanEntry* entry = book.FindScanEntry(number);
        return entry ? std::string(entry->name.View()) : "<none>";
    }
};

// A speed dial at either end of its range is made, edited, deleted from the tree and from the
// command line's delete, and is the first free number once it is the only gap.
TEST_P(ListEdges, SpeedDialAtEitherEndOfItsRange)
{
    const std::int32_t number = GetParam();
    const bool fax = number <= kLastFaxMailNumber;
    const AddressList list = fax ? AddressList::FaxMail : AddressList::Scan;
    const std::int32_t first = fax ? kFirstFaxMailNumber : kFirstScanNumber;
    const std::int32_t last = fax ? kLastFaxMailNumber : kLastScanNumber;

    MakeSpeedDial(number, u"Edge");
    EXPECT_EQ(NameOf(number), "Edge");
    MakeSpeedDial(number, u"Edited");
    EXPECT_EQ(NameOf(number), "Edited");
    EXPECT_EQ((fax ? book.FaxMailEntries().size() : book.ScanEntries().size()), 1u);

    EXPECT_TRUE(DialDelete(SpeedDialSlotItem(number), 1, book));
    EXPECT_EQ(NameOf(number), "<none>");
    EXPECT_TRUE(book.Empty());

    MakeSpeedDial(number, u"Again");
    EXPECT_TRUE(DeleteSpeedDial(book, number));
    EXPECT_EQ(NameOf(number), "<none>");
    EXPECT_FALSE(DeleteSpeedDial(book, number)) << "nothing left to delete";

    // Every other number of the range taken: this one is the first free, then the list is full.
    for (std::int32_t n = first; n <= last; ++n) {
        if (n != number) {
            CFaxMailEntry fill;
            fill.number = n;
            fill.address.Assign("1");
            CScanEntry scan;
            scan.number = n;
            scan.serverAddress = u"h";
            ASSERT_EQ(fax ? book.PutFaxMailEntry(fill) : book.PutScanEntry(scan), kOk);
        }
    }
    EXPECT_EQ(book.FirstFreeNumber(list).code, kOk);
    EXPECT_EQ(book.FirstFreeNumber(list).number, number);
    EXPECT_EQ(DialNewRegistration(fax ? kDialFaxMailNode : kDialScanNode, book).number, number);
    MakeSpeedDial(number, u"Full");
    EXPECT_EQ(book.FirstFreeNumber(list).code, kMsgFullRegistDial);
    EXPECT_TRUE(DeleteSpeedDial(book, number));
    EXPECT_EQ(book.FirstFreeNumber(list).number, number);
}

INSTANTIATE_TEST_SUITE_P(FirstAndLast,
                         ListEdges,
                         testing::Values(kFirstFaxMailNumber, kLastFaxMailNumber, kFirstScanNumber, kLastScanNumber));

TEST(ListEdgesGroups, GroupAndFavouriteAtEitherEndOfTheirRange)
{
    CValueStore store;
    const CEntryEnv env{&store, nullptr, 1};
    for (const std::int32_t group : {kFirstGroupNumber, kLastGroupNumber}) {
        CAddressBook book;
        CFaxMailEntry fax;
        fax.number = kLastFaxMailNumber;
        fax.address.Assign("1");
        ASSERT_EQ(book.PutFaxMailEntry(fax), kOk);
        ASSERT_EQ(book.SetGroupMembership(group, kLastFaxMailNumber, true, kKindFax), kOk);
        CGroupNameEditor editor(book, group, env);
        ASSERT_EQ(editor.SetText(GroupNameField::Name, u"Edge").refusal, EntryRefusal::None);
        ASSERT_TRUE(editor.Ok(book).Ok());
        ASSERT_NE(book.FindGroup(group), nullptr);
        EXPECT_EQ(book.FindGroup(group)->name.View(), "Edge");

        // Favourites fill every slot; the last one goes through the editor.
        for (std::int32_t slot = kFirstFavouriteNumber; slot < kLastFavouriteNumber; ++slot) {
            ASSERT_EQ(book.AddFavourite(slot, kTargetSpeedDial, kLastFaxMailNumber), kOk);
        }
        EXPECT_EQ(book.FirstFreeNumber(AddressList::Favourite).number, kLastFavouriteNumber);
        CFavouriteEditor favourite(book, kLastFavouriteNumber, env);
        favourite.ChooseList(kTargetGroup);
        ASSERT_FALSE(favourite.Rows().empty());
        ASSERT_TRUE(favourite.Ok(book).Ok());
        ASSERT_NE(book.FindFavourite(kLastFavouriteNumber), nullptr);
        EXPECT_EQ(book.FindFavourite(kLastFavouriteNumber)->targetNumber, group);
        EXPECT_EQ(book.FirstFreeNumber(AddressList::Favourite).code, kMsgFullRegistDial);

        EXPECT_TRUE(DialDelete(FavouriteSlotItem(kLastFavouriteNumber), 1, book));
        EXPECT_EQ(book.FindFavourite(kLastFavouriteNumber), nullptr);
        EXPECT_EQ(book.FirstFreeNumber(AddressList::Favourite).number, kLastFavouriteNumber);
        EXPECT_TRUE(DialDelete(FavouriteSlotItem(kFirstFavouriteNumber), 1, book));
        EXPECT_EQ(book.Favourites().size(), 18u);
        EXPECT_EQ(book.Favourites().back().number, kLastFavouriteNumber - 2) << "later slots move down";

        ASSERT_EQ(book.AddFavourite(19, kTargetGroup, group), kOk);
        EXPECT_TRUE(DeleteGroup(book, group));
        EXPECT_EQ(book.FindGroup(group), nullptr);
        EXPECT_EQ(book.FindFavourite(19), nullptr) << "the favourite of the group goes with it";
        EXPECT_FALSE(DeleteGroup(book, group));
        EXPECT_NE(book.FindFaxMailEntry(kLastFaxMailNumber), nullptr) << "members stay";
    }
}

// An SMB destination has no port field; a rename keeps the port it came with.
TEST(ScanEditorPort, SmbKeepsItsPortOnARenameAndFtpTakesTheTypedOne)
{
    CValueStore store;
    CAddressBook book;
    CScanEntry smb;
    smb.number = 230;
    smb.protocol = kProtocolSmb;
    smb.port = 445;
    smb.serverAddress = u"\\\\host\\share";
    smb.directory = u"scans";
    ASSERT_EQ(book.PutScanEntry(smb), kOk);
    const CEntryEnv env{&store, nullptr, 1};
    CScanEditor editor(book, 230, env);
    ASSERT_EQ(editor.SetText(S::Name, u"Renamed").refusal, EntryRefusal::None);
    ASSERT_TRUE(editor.Ok(book).Ok());
    EXPECT_EQ(book.FindScanEntry(230)->name.View(), "Renamed");
    EXPECT_EQ(book.FindScanEntry(230)->port, 445);

    CScanEditor ftp(book, 231, env);
    ASSERT_EQ(ftp.SetText(S::Server, u"host").refusal, EntryRefusal::None);
    ASSERT_EQ(ftp.SetText(S::Port, u"65535").refusal, EntryRefusal::None);
    ASSERT_TRUE(ftp.Ok(book).Ok());
    EXPECT_EQ(book.FindScanEntry(231)->port, 65535);
}

// The scan entry carries its password twice; both copies must hold it, with their lengths.
TEST(ImageEncoderScan, WritesBothCopiesOfThePassword)
{
    CFullDevice full;
    CScanEntry scan;
    scan.number = 250;
    scan.serverAddress = u"h";
    scan.account = kAccountPrivateSite;
    scan.userName = u"me";
    scan.password = u"secret";
    scan.passwordCopy = u"secret";
    full.device.book.PutScanEntry(scan);
    const Bytes image = Encode(full);
    const std::optional<Bytes> entry = FindEntry(image, kLastScanId);
    ASSERT_TRUE(entry);
    const Bytes secret{'s', 'e', 'c', 'r', 'e', 't', 0};
    EXPECT_EQ((*entry)[scan::kPasswordLength], 6);
    EXPECT_EQ(Bytes(entry->begin() + scan::kPassword, entry->begin() + scan::kPassword + 7), secret);
    EXPECT_EQ((*entry)[scan::kPasswordCopyLength], 6);
    EXPECT_EQ(Bytes(entry->begin() + scan::kPasswordCopy, entry->begin() + scan::kPasswordCopy + 7), secret);
}

// A batch time needs both its hour and its minute: an entry with only one is sent without one.
TEST(ImageEncoderFax, ABatchTimeNeedsItsHourAndItsMinute)
{
    CFullDevice full;
    CFaxMailEntry fax;
    fax.number = 220;
    fax.address.Assign("1");
    fax.batchHour = 5;
    fax.batchMinute = -1;
    full.device.book.PutFaxMailEntry(fax);
    fax.number = 219;
    fax.batchHour = -1;
    fax.batchMinute = 30;
    full.device.book.PutFaxMailEntry(fax);
    const Bytes image = Encode(full);
    for (const std::uint32_t id : {kLastFaxMailId, kLastFaxMailId - 1}) {
        const std::optional<Bytes> entry = FindEntry(image, id);
        ASSERT_TRUE(entry);
        EXPECT_EQ((*entry)[faxmail::kFlags], 0x06) << std::hex << id;
        EXPECT_EQ(Bytes(entry->begin() + faxmail::kBatchTime, entry->end()), (Bytes{0xE0, 0xFF})) << std::hex << id;
    }
}

// Backups hold the device's passwords in clear: their owner's alone whatever the umask lets others.
TEST(BackupRights, OwnerOnlyUnderAUsualUmask)
{
    const CTempFolder folder;
    const CAppContext context(8313);
    const mode_t mask = ::umask(022);
    std::filesystem::path path;
    const MessageCode written =
        WriteDownloadBackup(folder.Path(), context, std::chrono::system_clock::now(), kKeptBackups, &path);
    ::umask(mask);
    ASSERT_EQ(written, kOk);
    struct stat info
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// A write command whose image is not well formed changes nothing the device keeps.
TEST(SimulatorUpload, AMalformedImageLeavesTheMemoryAndTheCount)
{
    CSimulatedDevice device(8313);
    const Bytes before = device.MemoryImage();
    auto send = [&device](const Bytes& image) {
        Bytes message(8, 0);
        message[0] = static_cast<std::uint8_t>(kCommandWriteImage & 0xFF);
        message[1] = static_cast<std::uint8_t>(kCommandWriteImage >> 8);
        message[4] = static_cast<std::uint8_t>(image.size());
        message.insert(message.end(), image.begin(), image.end());
        device.Receive(message);
    };
    // An entry of the machine name's id announcing more data than the image has.
    Bytes malformed = {0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x00, 0x00, 'X'};
    ASSERT_FALSE(IsWellFormedImage(malformed));
    send(malformed);
    EXPECT_EQ(device.WriteCommandCount(), 1u);
    EXPECT_EQ(device.UploadCount(), 0u);
    EXPECT_EQ(device.MemoryImage(), before);

    CImageWriter good;
    good.Append(0x10000, Bytes{7});
    send(good.Take());
    EXPECT_EQ(device.UploadCount(), 1u);
    EXPECT_NE(device.MemoryImage(), before) << "a well-formed image is taken";
}

// The most preferred address wins, whatever order the card lists them in.
TEST(ContactsPref, PrefOneWinsOverPrefTwoListedFirst)
{
    const std::string vcf = "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna\r\n"
                            "EMAIL;PREF=2:second@example.test\r\nEMAIL;PREF=1:first@example.test\r\n"
                            "TEL;TYPE=fax;PREF=2:222\r\nTEL;TYPE=fax;PREF=1:111\r\nEND:VCARD\r\n";
    const std::vector<CVCard> cards = ParseVCards(vcf);
    ASSERT_EQ(cards.size(), 1u);
    ASSERT_EQ(cards[0].emails.size(), 2u);
    EXPECT_EQ(cards[0].emails[0].pref, 2);
    EXPECT_EQ(cards[0].emails[1].pref, 1);
    const CValueStore store;
    const CContactsPlan plan = PlanContactsImport(cards, CAddressBook(), store, CContactsOptions(), 0x1234);
    ASSERT_EQ(plan.rows.size(), 2u);
    for (const CContactRow& row : plan.rows) {
        EXPECT_EQ(row.address, row.kind == kKindMail ? u"first@example.test" : u"111");
    }
}

// An overlong form of "/" decodes to replacement characters, never to the character it hides.
TEST(OverlongUtf8, VCardTextsGetReplacementCharacters)
{
    const std::string vcf = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:a\xC0\xAF"
                            "b\xE0\x80\xAF"
                            "c\r\nEND:VCARD\r\n";
    const std::vector<CVCard> cards = ParseVCards(vcf);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].formattedName, u"a\uFFFD\uFFFDb\uFFFDc");
}

// A whole export of an empty book with the line of one key replaced.
std::string CsvWithLine(const std::string& key, const std::string& line)
{
    const CValueStore store;
    std::string csv = BuildAddressBookCsv(CAddressBook(), store, [](std::string_view) { return u"Group %02d"; });
    const std::size_t at = csv.find(key + ",");
    const std::size_t end = csv.find("\r\n", at);
    return at == std::string::npos ? std::string() : csv.replace(at, end - at, line);
}

TEST(OverlongUtf8, CsvTextsNeverHideASlash)
{
    // A scan destination whose directory would be "a/b/c" if the overlong forms were read.
    const std::string csv = CsvWithLine("SPD221",
                                        "SPD221,FTP,Srv,host,a\xC0\xAF"
                                        "b\xE0\x80\xAF"
                                        "c,off,21,0,0,0,0,0,0,0,off,,,,,,,,,,,0,,,");
    const CValueStore store;
    CAddressBook book;
    ASSERT_EQ(ParseAddressBookCsv(csv, book, store, 0x1234), kOk);
    const CScanEntry* entry = book.FindScanEntry(221);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->directory.find(u'/'), std::u16string::npos) << "directory taken as a path";
}

// A batch hour of 24 is no time of day: the entry is read without a batch time, and told.
TEST(CsvBatchTime, HourTwentyFourIsRefusedWithItsNote)
{
    const CValueStore store;
    for (const auto& [hour, minute, kept] : {std::tuple{"23", "59", true},
                                             std::tuple{"24", "00", false},
                                             std::tuple{"00", "60", false},
                                             std::tuple{"0", "0", true}}) {
        CAddressBook book;
        std::vector<CCsvNote> notes;
        const std::string line = std::string("SPD005,Fax,Name,123,,") + hour + "," + minute + ",";
        ASSERT_EQ(ParseAddressBookCsv(CsvWithLine("SPD005", line), book, store, 0x1234, &notes), kOk) << line;
        const CFaxMailEntry* entry = book.FindFaxMailEntry(5);
        ASSERT_NE(entry, nullptr) << line;
        EXPECT_EQ(entry->batchHour, kept ? std::stoi(hour) : -1) << line;
        EXPECT_EQ(entry->batchMinute, kept ? std::stoi(minute) : -1) << line;
        const std::vector<CCsvNote> told{{"SPD005", CsvNoteReason::FieldDefaulted, 0, "batch time"}};
        EXPECT_EQ(notes, kept ? std::vector<CCsvNote>() : told) << line;
    }
}

// Group members are speed dials 1-220 in one byte each: 0 and scan numbers are left out.
TEST(ImageDecoderGroups, MembersOutsideTheFaxMailRangeAreLeftOut)
{
    CFullDevice full;
    Bytes group(kGroupEntrySize, 0);
    group[group::kNumber] = 20;
    group[group::kPresent] = 1;
    const std::uint8_t members[] = {0, 1, 220, 221, 255};
    group[group::kMemberCount] = std::size(members);
    for (std::size_t i = 0; i < std::size(members); ++i) {
        group[group::kMembers + 2 * i + 1] = members[i];
    }
    CImageWriter writer;
    writer.Append(kFirstGroupId + 19, group);
    ASSERT_EQ(DecodeMachineImage(full.device, full.store, writer.Take()), kOk);
    const CGroupEntry* decoded = full.device.book.FindGroup(20);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->members, (std::vector<std::int32_t>{1, 220}));
}

} // namespace
} // namespace qzb
