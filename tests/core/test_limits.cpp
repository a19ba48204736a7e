// Every numeric and length limit a user or a file can reach, each tried at its edge: the limit is
// taken, one past it is not (and the same at a lower bound where there is one), in the layer that
// owns the rule. One table, one walker.
#include "addressbook/address_book.h"
#include "addressbook/csv_exchange.h"
#include "app/app_context.h"
#include "machine/image_decoder.h"
#include "machine/setting_check.h"
#include "model/image_layout.h"
#include "model/machine_image.h"
#include "model/text_codec.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"
#include "pages/page_input.h"
#include "pages/page_registry.h"
#include "print/selected_numbers.h"
#include "tests/support/page_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace qzb {
namespace {

using Probe = bool (*)(std::int64_t value);

struct CLimit
{
    const char* name;
    const char* layer;
    std::optional<std::int64_t> lower; // the smallest value taken, when there is a lower bound
    std::int64_t upper; // the largest value taken
    Probe takes;
};

std::string Repeat(std::int64_t count, char c)
{
    return std::string(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)), c);
}

std::u16string Repeat16(std::int64_t count, char16_t c)
{
    return std::u16string(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)), c);
}

// --- The address book ---

bool BookTakesFaxMail(std::int64_t n)
{
    CAddressBook book;
    CFaxMailEntry entry;
    entry.number = static_cast<std::int32_t>(n);
    return book.PutFaxMailEntry(entry) == kOk && book.FindFaxMailEntry(entry.number) != nullptr;
}

bool BookTakesScan(std::int64_t n)
{
    CAddressBook book;
    CScanEntry entry;
    entry.number = static_cast<std::int32_t>(n);
    return book.PutScanEntry(entry) == kOk && book.FindScanEntry(entry.number) != nullptr;
}

bool BookTakesGroup(std::int64_t n)
{
    CAddressBook book;
    return book.SetGroupName(static_cast<std::int32_t>(n), "G") == kOk;
}

bool BookTakesFavourite(std::int64_t n)
{
    CAddressBook book;
    return book.AddFavourite(static_cast<std::int32_t>(n), kTargetSpeedDial, 1) == kOk;
}

bool BookTakesGroupMembers(std::int64_t n)
{
    CAddressBook book;
    for (std::int32_t number = 1; number <= n; ++number) {
        if (book.SetGroupMembership(1, number, true, kKindFax) != kOk) {
            return false;
        }
    }
    return book.FindGroup(1) != nullptr && static_cast<std::int64_t>(book.FindGroup(1)->members.size()) == n;
}

bool BookTakesMembersInAWholeGroup(std::int64_t n)
{
    CAddressBook book;
    CGroupEntry group;
    group.number = 1;
    for (std::int32_t number = 1; number <= n; ++number) {
        group.members.push_back(number);
    }
    return book.PutGroup(group) == kOk;
}

// --- The CSV import ---

// A whole export of an empty book with one line replaced, read back.
std::optional<CAddressBook> ImportWithLine(const std::string& key, const std::string& line)
{
    const CValueStore store;
    std::string csv = BuildAddressBookCsv(CAddressBook(), store, [](std::string_view) { return u"Group %02d"; });
    const std::size_t at = csv.find(key + ",");
    if (at == std::string::npos) {
        return std::nullopt;
    }
    csv.replace(at, csv.find("\r\n", at) - at, line);
    CAddressBook book;
    if (ParseAddressBookCsv(csv, book, store, 0x1234) != kOk) {
        return std::nullopt;
    }
    return book;
}

bool CsvTakesFaxName(std::int64_t n)
{
    const auto book = ImportWithLine("SPD001", "SPD001,Fax," + Repeat(n, 'a') + ",123,,,");
    return book && book->FindFaxMailEntry(1) && book->FindFaxMailEntry(1)->name.View() == Repeat(n, 'a');
}

bool CsvTakesFaxNumber(std::int64_t n)
{
    const auto book = ImportWithLine("SPD001", "SPD001,Fax,N," + Repeat(n, '1') + ",,,");
    return book && book->FindFaxMailEntry(1) && book->FindFaxMailEntry(1)->address.View() == Repeat(n, '1');
}

bool CsvTakesMailAddress(std::int64_t n)
{
    const std::string address = "a@" + Repeat(n - 2, 'b');
    const auto book = ImportWithLine("SPD002", "SPD002,E-mail,N," + address + ",");
    return book && book->FindFaxMailEntry(2) && book->FindFaxMailEntry(2)->address.View() == address;
}

bool CsvTakesBatchHour(std::int64_t n)
{
    const auto book = ImportWithLine("SPD003", "SPD003,Fax,N,1,," + std::to_string(n) + ",00,");
    return book && book->FindFaxMailEntry(3) && book->FindFaxMailEntry(3)->batchHour == n;
}

bool CsvTakesBatchMinute(std::int64_t n)
{
    const auto book = ImportWithLine("SPD003", "SPD003,Fax,N,1,,10," + std::to_string(n) + ",");
    return book && book->FindFaxMailEntry(3) && book->FindFaxMailEntry(3)->batchMinute == n;
}

bool CsvTakesScanServer(std::int64_t n)
{
    const std::string server = Repeat(n, 'h');
    const auto book = ImportWithLine("SPD230", "SPD230,FTP,S," + server + ",d,off,21,0,0,0,0,0,0,0,off,,,,,,,,,,,0,,,");
    return book && book->FindScanEntry(230) && book->FindScanEntry(230)->serverAddress == Utf8ToUtf16(server);
}

bool CsvTakesScanDirectory(std::int64_t n)
{
    const std::string directory = Repeat(n, 'd');
    const auto book =
        ImportWithLine("SPD230", "SPD230,FTP,S,host," + directory + ",off,21,0,0,0,0,0,0,0,off,,,,,,,,,,,0,,,");
    return book && book->FindScanEntry(230) && book->FindScanEntry(230)->directory == Utf8ToUtf16(directory);
}

// --- The entry editors ---

const CValueStore& EditorStore()
{
    static const CValueStore store = [] {
        CValueStore s;
        s.SetItemNumber("EMAIL_SET_DLG", "EMAIL_ENABLE", 1);
        return s;
    }();
    return store;
}

const CAddressBook kEmptyBook;

CEntryEnv EditorEnv()
{
    return {&EditorStore(), nullptr, 1};
}

template <typename Editor>
bool EditorTakes(Editor& editor, EntryFieldId id, std::int64_t n, char16_t c)
{
    return editor.SetText(id, Repeat16(n, c)).refusal == EntryRefusal::None && editor.Text(id) == Repeat16(n, c);
}

bool FaxEditorTakesName(std::int64_t n)
{
    CFaxMailEditor editor(kEmptyBook, 1, EditorEnv());
    return EditorTakes(editor, FaxMailField::Name, n, u'a');
}

bool FaxEditorTakesNumber(std::int64_t n)
{
    CFaxMailEditor editor(kEmptyBook, 1, EditorEnv());
    return EditorTakes(editor, FaxMailField::Number, n, u'1');
}

bool MailEditorTakesAddress(std::int64_t n)
{
    CFaxMailEditor editor(kEmptyBook, 1, EditorEnv());
    editor.SetKind(kKindMail);
    return EditorTakes(editor, FaxMailField::Address, n, u'a');
}

bool GroupEditorTakesName(std::int64_t n)
{
    CGroupNameEditor editor(kEmptyBook, 1, EditorEnv());
    return EditorTakes(editor, GroupNameField::Name, n, u'a');
}

// A scan editor on a private site with notification on, so that every text field takes input.
template <EntryFieldId Field, char16_t Letter>
bool ScanEditorTakes(std::int64_t n)
{
    CScanEditor editor(kEmptyBook, 221, EditorEnv());
    if (editor.Choose(ScanField::Account, kAccountPrivateSite).refusal != EntryRefusal::None ||
        editor.Check(ScanField::Notify, true).refusal != EntryRefusal::None) {
        return false;
    }
    return EditorTakes(editor, Field, n, Letter);
}

bool ScanEditorTakesPort(std::int64_t n)
{
    CAddressBook book;
    CScanEditor editor(book, 221, EditorEnv());
    if (editor.SetText(ScanField::Server, u"h").refusal != EntryRefusal::None ||
        editor.SetText(ScanField::Port, Utf8ToUtf16(std::to_string(n))).refusal != EntryRefusal::None) {
        return false;
    }
    return editor.Ok(book).Ok() && book.FindScanEntry(221)->port == n;
}

std::u16string TwoDigits(std::int64_t n)
{
    return Utf8ToUtf16((n < 10 ? "0" : "") + std::to_string(n));
}

bool DetailsTakeHour(std::int64_t n)
{
    return CFaxDetailsForm::HourTextAccepted(TwoDigits(n));
}

bool DetailsTakeMinute(std::int64_t n)
{
    return CFaxDetailsForm::MinuteTextAccepted(TwoDigits(n));
}

// --- What a settings file keeps ---

const CAppContext& SettingContext()
{
    static const CAppContext context(8313);
    return context;
}

template <const char* Page, const char* Key>
bool FileKeepsNumber(std::int64_t n)
{
    const CAppContext& c = SettingContext();
    return CheckSettingNumber(c.device, c.store, Page, Key, static_cast<std::int32_t>(n)).refusal ==
           SettingRefusal::None;
}

template <const char* Page, const char* Key>
bool FileKeepsTextBytes(std::int64_t n)
{
    const CAppContext& c = SettingContext();
    return CheckSettingText(c.device, c.store, Page, Key, Repeat16(n, u'a')).refusal == SettingRefusal::None;
}

constexpr char kMachinePage[] = "MACHINE_SET_DLG";
constexpr char kEnergySaveTime[] = "Machine_Energy_save_mode_time";
constexpr char kUserPage[] = "USER_SET_DLG";
constexpr char kMonth[] = "USER_TIME_MOUTH";
constexpr char kFaxRxPage[] = "FAX_RX_SET_DLG";
constexpr char kMemoryPassword[] = "FAX_RX_OPE_MEMORY_RX_MODD_PASS";
constexpr char kMailPage[] = "EMAIL_SET_DLG";
constexpr char kMailAddress[] = "EMAIL_ADR";
constexpr char kSnmpPage[] = "SNMP_SET_DLG";
constexpr char kCommunity[] = "SNMP_READ_COMMUNITY_NAME";
constexpr char kTcpIpPage[] = "TCP_IP_SET_DLG";
constexpr char kIpAddress3[] = "NETWORK_IP_ADD_3";

// --- The image decoder ---

std::optional<CGroupEntry> DecodedGroup(const std::vector<std::uint8_t>& members, std::size_t count)
{
    std::vector<std::uint8_t> group(kGroupEntrySize, 0);
    group[group::kNumber] = 1;
    group[group::kPresent] = 1;
    group[group::kMemberCount] = static_cast<std::uint8_t>(count);
    for (std::size_t i = 0; i < members.size() && group::kMembers + 2 * i + 1 < group.size(); ++i) {
        group[group::kMembers + 2 * i + 1] = members[i];
    }
    CImageWriter writer;
    writer.Append(kFirstGroupId, group);
    CDeviceData device;
    CValueStore store;
    if (DecodeMachineImage(device, store, writer.Take()) != kOk || device.book.FindGroup(1) == nullptr) {
        return std::nullopt;
    }
    return *device.book.FindGroup(1);
}

bool DecoderTakesMember(std::int64_t n)
{
    const auto group = DecodedGroup({1, static_cast<std::uint8_t>(n)}, 2);
    return group && std::find(group->members.begin(), group->members.end(), n) != group->members.end();
}

bool DecoderTakesMemberCount(std::int64_t n)
{
    std::vector<std::uint8_t> members;
    for (std::int64_t i = 1; i <= n; ++i) {
        members.push_back(static_cast<std::uint8_t>(i));
    }
    const auto group = DecodedGroup(members, static_cast<std::size_t>(n));
    return group && static_cast<std::int64_t>(group->members.size()) == n;
}

// --- Print ranges ---

template <std::int32_t Limit>
bool PrintSelects(std::int64_t n)
{
    return SelectedNumbers(Utf8ToUtf16(std::to_string(n)), Limit) ==
           std::vector<std::int32_t>{static_cast<std::int32_t>(n)};
}

bool PrintFieldTakesDigits(std::int64_t n)
{
    return IsNumberListText(Repeat16(n, u'1'));
}

const CLimit kLimits[] = {
    {"fax/e-mail speed dial number", "addressbook", 1, 220, BookTakesFaxMail},
    {"scan-to-server speed dial number", "addressbook", 221, 250, BookTakesScan},
    {"group number", "addressbook", 1, 20, BookTakesGroup},
    {"favourite slot", "addressbook", 1, 20, BookTakesFavourite},
    {"members of a group, one at a time", "addressbook", std::nullopt, 50, BookTakesGroupMembers},
    {"members of a group put whole", "addressbook", std::nullopt, 50, BookTakesMembersInAWholeGroup},
    {"CSV fax name characters", "addressbook", std::nullopt, 20, CsvTakesFaxName},
    {"CSV fax number characters", "addressbook", 1, 50, CsvTakesFaxNumber},
    {"CSV e-mail address characters", "addressbook", std::nullopt, 64, CsvTakesMailAddress},
    {"CSV batch hour", "addressbook", std::nullopt, 23, CsvTakesBatchHour},
    {"CSV batch minute", "addressbook", std::nullopt, 59, CsvTakesBatchMinute},
    {"CSV scan server characters", "addressbook", 1, 64, CsvTakesScanServer},
    {"CSV scan directory characters", "addressbook", std::nullopt, 128, CsvTakesScanDirectory},
    {"fax editor name", "pages", std::nullopt, 20, FaxEditorTakesName},
    {"fax editor number", "pages", std::nullopt, 50, FaxEditorTakesNumber},
    {"e-mail editor address", "pages", std::nullopt, 64, MailEditorTakesAddress},
    {"group name editor", "pages", std::nullopt, 20, GroupEditorTakesName},
    {"scan editor name", "pages", std::nullopt, 20, ScanEditorTakes<ScanField::Name, u'a'>},
    {"scan editor server", "pages", std::nullopt, 64, ScanEditorTakes<ScanField::Server, u'h'>},
    {"scan editor directory", "pages", std::nullopt, 128, ScanEditorTakes<ScanField::Directory, u'd'>},
    {"scan editor port digits", "pages", std::nullopt, 5, ScanEditorTakes<ScanField::Port, u'1'>},
    {"scan editor user ID", "pages", std::nullopt, 20, ScanEditorTakes<ScanField::UserId, u'u'>},
    {"scan editor notification address", "pages", std::nullopt, 64, ScanEditorTakes<ScanField::Notify1, u'n'>},
    {"scan editor user name", "pages", std::nullopt, 20, ScanEditorTakes<ScanField::User, u'u'>},
    {"scan editor password", "pages", std::nullopt, 20, ScanEditorTakes<ScanField::Password, u'p'>},
    {"scan editor password again", "pages", std::nullopt, 20, ScanEditorTakes<ScanField::Confirm, u'p'>},
    {"scan editor port", "pages", 1, 65535, ScanEditorTakesPort},
    {"batch time hour", "pages", std::nullopt, 23, DetailsTakeHour},
    {"batch time minute", "pages", std::nullopt, 59, DetailsTakeMinute},
    {"one-byte setting", "machine", 0, 255, FileKeepsNumber<kMachinePage, kEnergySaveTime>},
    {"date field of the clock", "machine", 0, 255, FileKeepsNumber<kUserPage, kMonth>},
    {"memory reception password", "machine", -1, 9999, FileKeepsNumber<kFaxRxPage, kMemoryPassword>},
    {"address octet", "machine", 0, 255, FileKeepsNumber<kTcpIpPage, kIpAddress3>},
    {"e-mail address bytes", "machine", std::nullopt, 255, FileKeepsTextBytes<kMailPage, kMailAddress>},
    {"SNMP community bytes", "machine", std::nullopt, 15, FileKeepsTextBytes<kSnmpPage, kCommunity>},
    {"group member in an image", "machine", 1, 220, DecoderTakesMember},
    {"members of a group in an image", "machine", std::nullopt, 50, DecoderTakesMemberCount},
    {"printed speed dial", "print", 1, 250, PrintSelects<kSpeedDialPrintLimit>},
    {"printed group", "print", 1, 20, PrintSelects<kGroupDialPrintLimit>},
    {"printed favourite", "print", 1, 20, PrintSelects<kFavouritePrintLimit>},
    {"print numbers field digits", "print", 1, 9, PrintFieldTakesDigits},
};

class LimitEdge : public testing::TestWithParam<CLimit>
{
};

TEST_P(LimitEdge, TakesTheLimitAndRefusesOnePast)
{
    const CLimit& limit = GetParam();
    EXPECT_TRUE(limit.takes(limit.upper)) << limit.name << " at " << limit.upper;
    EXPECT_FALSE(limit.takes(limit.upper + 1)) << limit.name << " at " << limit.upper + 1;
    if (limit.lower) {
        EXPECT_TRUE(limit.takes(*limit.lower)) << limit.name << " at " << *limit.lower;
        EXPECT_FALSE(limit.takes(*limit.lower - 1)) << limit.name << " at " << *limit.lower - 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LimitEdge, testing::ValuesIn(kLimits), [](const testing::TestParamInfo<CLimit>& info) {
    std::string name = std::string(info.param.layer) + "_" + std::to_string(info.index) + "_";
    for (const char c : std::string(info.param.name)) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
});

// A number out of its field's range is told with the range, so that the user learns what it holds.
TEST(SettingCheckRange, ANumberOutOfItsFieldIsToldWithTheRange)
{
    const CAppContext& c = SettingContext();
    struct CCase
    {
        const char* page;
        const char* key;
        std::int32_t value;
        std::int64_t minimum;
        std::int64_t maximum;
    };
    for (const CCase& k : {CCase{kFaxRxPage, kMemoryPassword, 10000, -1, 9999},
                           CCase{kFaxRxPage, kMemoryPassword, -2, -1, 9999},
                           CCase{kMachinePage, kEnergySaveTime, 256, 0, 255},
                           CCase{kUserPage, kMonth, -1, 0, 255},
                           CCase{kTcpIpPage, kIpAddress3, 256, 0, 255}}) {
        const CSettingCheck check = CheckSettingNumber(c.device, c.store, k.page, k.key, k.value);
        EXPECT_EQ(check.refusal, SettingRefusal::OutOfRange) << k.key << " " << k.value;
        EXPECT_EQ(check.minimum, k.minimum) << k.key;
        EXPECT_EQ(check.maximum, k.maximum) << k.key;
    }
    const CSettingCheck text = CheckSettingText(c.device, c.store, kSnmpPage, kCommunity, Repeat16(16, u'c'));
    EXPECT_EQ(text.refusal, SettingRefusal::TooLong);
    EXPECT_EQ(text.bytes, 16u);
    EXPECT_EQ(text.maxBytes, 15u);
}

// Every edit of every page takes as many characters as its limit and refuses one more.
TEST(PageEditLimits, EveryLimitedEditTakesItsLimitAndRefusesOneMore)
{
    std::size_t checked = 0;
    for (const std::int32_t model : {2152, 8313, 8314, 8315, 8329}) {
        CAppContext context(model);
        for (const CPageDef* def : PageDefsForModel(context.modelBit)) {
            for (const CControlDef& control : def->controls) {
                if (control.kind != ControlKind::Edit || control.limit <= 0 || control.readOnly) {
                    continue;
                }
                CPage page(*def, EnvOf(context));
                page.Initialise();
                const CControlState& state = page.State(control.id);
                if (!state.visible || !state.enabled) {
                    continue;
                }
                // A character the edit's typing filter lets through.
                std::optional<char16_t> letter;
                for (const char16_t c : std::u16string_view(u"1a0A")) {
                    if (ApplyControlInput(page, control, std::u16string(1, c)) == InputRefusal::None) {
                        letter = c;
                        break;
                    }
                }
                if (!letter) {
                    continue;
                }
                const std::u16string full = Repeat16(control.limit, *letter);
                EXPECT_EQ(ApplyControlInput(page, control, full), InputRefusal::None)
                    << def->name << " " << control.name;
                EXPECT_EQ(ApplyControlInput(page, control, full + *letter), InputRefusal::TooLong)
                    << def->name << " " << control.name;
                EXPECT_EQ(ControlValueText(page, control), full) << def->name << " " << control.name;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 50u);
}

} // namespace
} // namespace qzb
