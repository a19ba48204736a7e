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
#include <charconv>
#include <iterator>
#include <span>
#include <vector>

namespace qzb {

namespace {

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

// Each line is written straight into the file's bytes: texts are converted to UTF-8 as they are
// appended, with no line built first.
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
    void Empty(const std::string& key)
    {
        m_out += key;
        m_out += ",NA,\r\n";
    }
    void Group(const std::string& key, std::int32_t number);
    void FaxMail(const std::string& key, const CFaxMailEntry& entry);
    void Scan(const std::string& key, const CScanEntry& entry);
    void Favourite(const std::string& key, std::int32_t slot);
    void Panel(std::string_view bytes, std::size_t maxUnits)
    {
        PanelBytesToText(bytes, m_language, m_scratch);
        Text(m_scratch, maxUnits);
    }
    void Text(std::u16string_view text, std::size_t maxUnits);
    // The number in decimal, zeros in front up to `width` digits.
    void Number(std::int64_t value, std::size_t width = 0)
    {
        char digits[24];
        const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
        m_out.append(width - std::min(width, static_cast<std::size_t>(end - digits)), '0');
        m_out.append(digits, end);
    }
    void Note(const std::string& key, CsvNoteReason reason);
    void EndEntry(const std::string& key);

    const CAddressBook& m_book;
    const CValueStore& m_store;
    std::int32_t m_language;
    std::u16string m_labelFormat;
    std::vector<CCsvNote>* m_notes;
    std::string m_out;
    std::u16string m_scratch; // a panel text, decoded
    bool m_replaced = false; // the entry being written had control characters
    bool m_cut = false; // ... or a text longer than its field
};

// The text as a field of the line: cut to its device field, control characters as spaces, and
// enclosed when it holds a comma.
void CExporter::Text(std::u16string_view text, std::size_t maxUnits)
{
    std::u16string_view kept = text.substr(0, maxUnits);
    if (kept.size() < text.size()) {
        m_cut = true;
        if (!kept.empty() && kept.back() >= 0xD800 && kept.back() <= 0xDBFF) {
            kept.remove_suffix(1); // half of a surrogate pair
        }
    }
    const bool enclosed = kept.find(u',') != std::u16string_view::npos;
    if (enclosed) {
        m_out += static_cast<char>(kCsvEnclosure);
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (IsControl(kept[i])) {
            AppendUtf8(kept.substr(start, i - start), m_out);
            m_out += ' ';
            start = i + 1;
            m_replaced = true;
        }
    }
    AppendUtf8(kept.substr(start), m_out);
    if (enclosed) {
        m_out += static_cast<char>(kCsvEnclosure);
    }
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
    m_out += key;
    m_out += ",Group,";
    Text(GroupDisplayLabel(group, number, m_labelFormat, m_language), kCsvNameUnits);
    for (std::int32_t member : group->members) {
        m_out += ',';
        Number(member, 3);
        m_out += "-SP";
    }
    m_out += ",\r\n";
    EndEntry(key);
}

void CExporter::FaxMail(const std::string& key, const CFaxMailEntry& entry)
{
    m_out += key;
    m_out += entry.kind == kKindMail ? ",E-mail," : ",Fax,";
    Panel(entry.name.View(), kCsvNameUnits);
    m_out += ',';
    ProcessCodePage().Decode(entry.address.View(), m_scratch);
    Text(m_scratch, kCsvAddressUnits);
    EndEntry(key);
    if (entry.kind == kKindMail) {
        m_out += ",\r\n";
        return;
    }
    m_out += ',';
    switch (entry.faxSpeed) {
        case kFaxSpeed9600:
            m_out += "9.6K";
            break;
        case kFaxSpeed14400:
            m_out += "14.4K";
            break;
        case kFaxSpeed33600:
            m_out += "33.6K";
            break;
        default:
            break;
    }
    m_out += ',';
    if (entry.batchHour >= 0 && entry.batchMinute >= 0) {
        Number(entry.batchHour);
        m_out += ',';
        Number(entry.batchMinute);
    }
    m_out += ",\r\n";
}

void CExporter::Scan(const std::string& key, const CScanEntry& entry)
{
    const bool ftp = entry.protocol == kProtocolFtp;
    const bool privateSite = entry.account == kAccountPrivateSite;
    m_out += key;
    m_out += ftp ? ",FTP," : ",SMB,";
    Panel(entry.name.View(), kCsvNameUnits);
    m_out += ',';
    Text(entry.serverAddress, kCsvAddressUnits);
    m_out += ',';
    Text(entry.directory, kCsvDirectoryUnits);
    m_out += ',';
    if (ftp) {
        m_out += entry.useProxy ? "on," : "off,";
        Number(entry.port);
        m_out += ',';
    }
    m_out += "0,";
    for (std::int32_t value :
         {entry.colourMode, entry.resolution, entry.scanMode, entry.fileFormat, entry.codingMethod, entry.scanArea}) {
        Number(value);
        m_out += ',';
    }
    m_out += entry.mailNotification ? "on," : "off,";
    for (const std::u16string& address : entry.notificationAddresses) {
        Text(address, kCsvAddressUnits);
        m_out += ',';
    }
    m_out += privateSite ? "1," : "0,";
    if (privateSite) {
        Text(entry.userName, kCsvUserNameUnits);
    }
    m_out += ',';
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
        m_out += key;
        m_out += ",SPEED,";
        Number(favourite->targetNumber);
        m_out += ",\r\n";
        return;
    }
    const CGroupEntry* group =
        favourite && favourite->targetKind == kTargetGroup ? m_book.FindGroup(favourite->targetNumber) : nullptr;
    if (group && !group->members.empty()) {
        m_out += key;
        m_out += ",GROUP,";
        Number(favourite->targetNumber);
        m_out += ",\r\n";
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
