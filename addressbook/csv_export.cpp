#include "addressbook/csv_exchange.h"

#include "addressbook/address_book.h"
#include "addressbook/csv_format.h"
#include "addressbook/group_label.h"
#include "base/atomic_file.h"
#include "model/input_chars.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <algorithm>
#include <cerrno>
#include <span>
#include <vector>

namespace qzb {

namespace {

std::u16string Widen(std::string_view ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Field(std::u16string_view text)
{
    if (text.find(u',') == std::u16string_view::npos) {
        return std::u16string(text);
    }
    std::u16string enclosed(1, kCsvEnclosure);
    enclosed += text;
    enclosed += kCsvEnclosure;
    return enclosed;
}

std::u16string Number(std::int64_t value)
{
    return Widen(std::to_string(value));
}

// C0 and C1 controls and DEL: a line feed would end the line early, a U+0007 open an enclosed
// text that swallows the fields after it.
bool IsControl(char16_t unit)
{
    return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

// Printable ASCII is all that survives the password's shift by 48 and the import's check.
bool IsPasswordReadable(std::u16string_view password, const CValueStore& store)
{
    return password.size() <= kCsvPasswordBytes &&
           std::all_of(password.begin(), password.end(), [](char16_t unit) { return unit >= 32 && unit <= 126; }) &&
           IsInputTextValid(password, InputKind::EmailAddress, store);
}

class CExporter
{
public:
    CExporter(const CAddressBook& book, const CValueStore& store, const TextLookup& text, std::vector<CCsvNote>* notes)
        : m_book(book)
        , m_store(store)
        , m_language(PanelLanguage(store))
        , m_labelFormat(text ? text(kGroupLabelKey) : std::u16string())
        , m_notes(notes)
    {
    }

    std::string Build();

private:
    void Line(const std::u16string& wide) { m_out += Utf16ToUtf8(wide); }
    void Empty(const std::string& key) { m_out += key + ",NA,\r\n"; }
    void Group(const std::string& key, std::int32_t number);
    void FaxMail(const std::string& key, const CFaxMailEntry& entry);
    void Scan(const std::string& key, const CScanEntry& entry);
    void Favourite(const std::string& key, std::int32_t slot);
    std::u16string Panel(std::string_view bytes) const { return PanelBytesToText(bytes, m_language); }
    std::u16string Text(std::u16string_view text, std::size_t maxUnits);
    void Note(const std::string& key, CsvNoteReason reason);
    void EndEntry(const std::string& key);

    const CAddressBook& m_book;
    const CValueStore& m_store;
    std::int32_t m_language;
    std::u16string m_labelFormat;
    std::vector<CCsvNote>* m_notes;
    std::string m_out;
    bool m_replaced = false; // the entry being written had control characters
    bool m_cut = false; // ... or a text longer than its field
};

// The text as a field of the line: cut to its device field, control characters as spaces, and
// enclosed when it holds a comma.
std::u16string CExporter::Text(std::u16string_view text, std::size_t maxUnits)
{
    std::u16string clean(text.substr(0, maxUnits));
    if (clean.size() < text.size()) {
        m_cut = true;
        if (!clean.empty() && clean.back() >= 0xD800 && clean.back() <= 0xDBFF) {
            clean.pop_back(); // half of a surrogate pair
        }
    }
    for (char16_t& unit : clean) {
        if (IsControl(unit)) {
            unit = u' ';
            m_replaced = true;
        }
    }
    return Field(clean);
}

void CExporter::Note(const std::string& key, CsvNoteReason reason)
{
    if (m_notes) {
        m_notes->push_back({key, reason, 0, {}});
    }
}

void CExporter::EndEntry(const std::string& key)
{
    if (m_replaced) {
        Note(key, CsvNoteReason::ControlCharacters);
    }
    if (m_cut) {
        Note(key, CsvNoteReason::TextCut);
    }
    m_replaced = m_cut = false;
}

std::string CExporter::Build()
{
    m_out.reserve(64 * 1024);
    const auto& keys = CsvKeys();
    std::size_t line = 0;
    for (std::int32_t n = kFirstGroupNumber; n <= kLastGroupNumber; ++n) {
        Group(keys[line++], n);
    }
    for (std::int32_t n = kFirstFaxMailNumber; n <= kLastScanNumber; ++n) {
        const std::string& key = keys[line++];
        if (const CFaxMailEntry* entry = m_book.FindFaxMailEntry(n)) {
            FaxMail(key, *entry);
        } else if (const CScanEntry* scan = m_book.FindScanEntry(n)) {
            Scan(key, *scan);
        } else {
            Empty(key);
        }
    }
    for (std::int32_t n = kFirstFavouriteNumber; n <= kLastFavouriteNumber; ++n) {
        Favourite(keys[line++], n);
    }
    return std::move(m_out);
}

void CExporter::Group(const std::string& key, std::int32_t number)
{
    const CGroupEntry* group = m_book.FindGroup(number);
    if (!group || group->members.empty()) {
        Empty(key);
        return;
    }
    std::u16string line =
        Widen(key) + u",Group," + Text(GroupDisplayLabel(group, number, m_labelFormat, m_language), kCsvNameUnits);
    for (std::int32_t member : group->members) {
        std::string text = std::to_string(member);
        text.insert(0, 3 - std::min<std::size_t>(3, text.size()), '0');
        line += u',';
        line += Widen(text);
        line += u"-SP";
    }
    Line(line + u",\r\n");
    EndEntry(key);
}

void CExporter::FaxMail(const std::string& key, const CFaxMailEntry& entry)
{
    const std::u16string name = Text(Panel(entry.name.View()), kCsvNameUnits);
    const std::u16string address = Text(ProcessCodePage().Decode(entry.address.View()), kCsvAddressUnits);
    EndEntry(key);
    if (entry.kind == kKindMail) {
        Line(Widen(key) + u",E-mail," + name + u"," + address + u",\r\n");
        return;
    }
    std::u16string speed;
    switch (entry.faxSpeed) {
        case kFaxSpeed9600:
            speed = u"9.6K";
            break;
        case kFaxSpeed14400:
            speed = u"14.4K";
            break;
        case kFaxSpeed33600:
            speed = u"33.6K";
            break;
        default:
            break;
    }
    const bool batch = entry.batchHour >= 0 && entry.batchMinute >= 0;
    const std::u16string time = batch ? Number(entry.batchHour) + u"," + Number(entry.batchMinute) : u"";
    Line(Widen(key) + u",Fax," + name + u"," + address + u"," + speed + u"," + time + u",\r\n");
}

void CExporter::Scan(const std::string& key, const CScanEntry& entry)
{
    const bool ftp = entry.protocol == kProtocolFtp;
    const bool privateSite = entry.account == kAccountPrivateSite;
    std::u16string line = Widen(key) + (ftp ? u",FTP," : u",SMB,") + Text(Panel(entry.name.View()), kCsvNameUnits) +
                          u"," + Text(entry.serverAddress, kCsvAddressUnits) + u"," +
                          Text(entry.directory, kCsvDirectoryUnits) + u",";
    if (ftp) {
        line += (entry.useProxy ? u"on," : u"off,") + Number(entry.port) + u",";
    }
    line += u"0,";
    for (std::int32_t value :
         {entry.colourMode, entry.resolution, entry.scanMode, entry.fileFormat, entry.codingMethod, entry.scanArea}) {
        line += Number(value) + u",";
    }
    line += entry.mailNotification ? u"on," : u"off,";
    for (const std::u16string& address : entry.notificationAddresses) {
        line += Text(address, kCsvAddressUnits) + u",";
    }
    line += Number(privateSite ? 1 : 0) + u"," + (privateSite ? Text(entry.userName, kCsvUserNameUnits) : u"") + u",";
    Line(line);
    EndEntry(key);
    // Printable ASCII is the same in every code page the files are written in.
    if (privateSite && IsPasswordReadable(entry.password, m_store)) {
        for (char16_t unit : entry.password) {
            m_out.push_back(static_cast<char>(unit + kCsvPasswordShift));
        }
    } else if (privateSite && !entry.password.empty()) {
        Note(key, CsvNoteReason::PasswordLeftOut);
    }
    m_out += ",\r\n";
}

void CExporter::Favourite(const std::string& key, std::int32_t slot)
{
    const CFavourite* favourite = m_book.FindFavourite(slot);
    if (favourite && favourite->targetKind == kTargetSpeedDial &&
        (m_book.FindFaxMailEntry(favourite->targetNumber) || m_book.FindScanEntry(favourite->targetNumber))) {
        m_out += key + ",SPEED," + std::to_string(favourite->targetNumber) + ",\r\n";
        return;
    }
    const CGroupEntry* group =
        favourite && favourite->targetKind == kTargetGroup ? m_book.FindGroup(favourite->targetNumber) : nullptr;
    if (group && !group->members.empty()) {
        m_out += key + ",GROUP," + std::to_string(favourite->targetNumber) + ",\r\n";
        return;
    }
    Empty(key);
}

} // namespace

std::string BuildAddressBookCsv(const CAddressBook& book,
                                const CValueStore& store,
                                const TextLookup& text,
                                std::vector<CCsvNote>* notes)
{
    return CExporter(book, store, text, notes).Build();
}

MessageCode ExportAddressBook(const std::filesystem::path& path,
                              const CAddressBook& book,
                              const CValueStore& store,
                              const TextLookup& text,
                              CCsvReport* report)
{
    const std::string csv = BuildAddressBookCsv(book, store, text, report ? &report->notes : nullptr);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(csv.data());
    // Scan-to-server passwords are only shifted, not protected: the file is its owner's alone.
    std::error_code error;
    if (!WriteFileAtomically(WithCsvExtension(path), std::span(bytes, csv.size()), &error, FileRights::OwnerOnly)) {
        if (report) {
            report->systemError = errno;
            report->writeError = error;
        }
        return kMsgWriteFileError;
    }
    return kOk;
}

} // namespace qzb
