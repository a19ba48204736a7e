#include "addressbook/csv_exchange.h"
#include "addressbook/mail_address.h"

#include "addressbook/address_book.h"
#include "addressbook/csv_format.h"
#include "base/atomic_file.h"
#include "model/input_chars.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

namespace qzb {

namespace {

constexpr std::size_t kMaxFields = 32;
// A group line carries "Group", its name and up to 50 members: the 32-field cap of the other
// lines would drop every member after the 30th.
constexpr std::size_t kMaxGroupFields = 2 + kMaxGroupMembers;

// The fields of one line after its key, as views of text decoded into storage kept from line to
// line.
class CFields
{
public:
    // `bytes` is the UTF-8 line after its key. A field enclosed in U+0007 may hold commas; the marks
    // themselves are dropped.
    void Split(std::string_view bytes, std::size_t maxFields = kMaxFields);

    std::size_t size() const { return m_count; }
    std::u16string_view operator[](std::size_t index) const { return m_fields[index]; }
    // An empty text for a field the line does not have.
    std::u16string_view At(std::size_t index) const
    {
        return index < m_count ? m_fields[index] : std::u16string_view();
    }

private:
    void SplitEnclosed(std::u16string_view text, std::size_t maxFields);
    std::u16string& Owned(std::u16string_view piece)
    {
        std::u16string& field = m_owned[m_count];
        field.clear();
        AppendWithoutMarks(field, piece);
        return field;
    }
    static void AppendWithoutMarks(std::u16string& field, std::u16string_view piece)
    {
        for (const char16_t unit : piece) {
            if (unit != kCsvEnclosure) {
                field.push_back(unit);
            }
        }
    }

    std::u16string m_text; // the decoded line, or its fields back to back
    std::array<std::u16string_view, kMaxGroupFields> m_fields;
    std::array<std::u16string, kMaxGroupFields> m_owned;
    std::size_t m_count = 0;
};

void CFields::Split(std::string_view bytes, std::size_t maxFields)
{
    maxFields = std::min(maxFields, m_fields.size());
    m_count = 0;
    if (bytes.find(static_cast<char>(kCsvEnclosure)) != std::string_view::npos) {
        Utf8ToUtf16(bytes, m_text);
        SplitEnclosed(m_text, maxFields);
        return;
    }
    // Most lines enclose nothing: their fields are the pieces between commas, split and decoded in
    // one pass. A comma is never part of a longer UTF-8 sequence, so a damaged one cannot hide it,
    // and no field takes more units than it has bytes.
    if (m_text.size() < bytes.size()) {
        m_text.resize(bytes.size());
    }
    char16_t* out = m_text.data();
    const char16_t* field = out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Eight ASCII bytes without a comma are widened at once.
        if (i + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, sizeof word);
            const std::uint64_t commas = word ^ 0x2C2C2C2C2C2C2C2CULL;
            if (((word | ((commas - 0x0101010101010101ULL) & ~commas)) & 0x8080808080808080ULL) == 0) {
                for (std::size_t k = 0; k < 8; ++k) {
                    out[k] = static_cast<unsigned char>(bytes[i + k]);
                }
                out += 8;
                i += 8;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == ',') {
            m_fields[m_count++] = std::u16string_view(field, static_cast<std::size_t>(out - field));
            if (m_count == maxFields) {
                return;
            }
            field = out;
            ++i;
        } else if (byte < 0x80) {
            *out++ = byte;
            ++i;
        } else {
            // A run of bytes above ASCII holds whole sequences and decodes the same on its own.
            std::size_t end = i + 1;
            while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) >= 0x80) {
                ++end;
            }
            out += Utf8ToUtf16(bytes.substr(i, end - i), out);
            i = end;
        }
    }
    m_fields[m_count++] = std::u16string_view(field, static_cast<std::size_t>(out - field));
}

void CFields::SplitEnclosed(std::u16string_view text, std::size_t maxFields)
{
    bool open = false; // a field whose opening mark came without its closing one, built in m_owned
    std::size_t start = 0;
    while (m_count < maxFields && start <= text.size()) {
        // One pass finds the piece's end and counts its marks: only a piece with one mark opens or
        // closes an enclosed field.
        std::size_t comma = start;
        std::size_t marks = 0;
        for (; comma < text.size() && text[comma] != u','; ++comma) {
            marks += text[comma] == kCsvEnclosure ? 1 : 0;
        }
        const std::u16string_view piece = text.substr(start, comma - start);
        start = comma + 1;
        if (open) {
            std::u16string& field = m_owned[m_count];
            field += u',';
            AppendWithoutMarks(field, piece);
            if (marks == 1) {
                m_fields[m_count++] = field;
                open = false;
            }
        } else if (marks == 0) {
            m_fields[m_count++] = piece;
        } else {
            const std::u16string& field = Owned(piece);
            if (marks == 1) {
                open = true;
            } else {
                m_fields[m_count++] = field;
            }
        }
        if (comma == text.size()) {
            break;
        }
    }
    if (open && m_count < maxFields) {
        m_fields[m_count] = m_owned[m_count];
        ++m_count;
    }
}

// Digits only, at most ten of them.
std::optional<std::int64_t> ParseNumber(std::u16string_view field)
{
    if (field.empty() || field.size() > 10) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char16_t unit : field) {
        if (unit < u'0' || unit > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (unit - u'0');
    }
    return value;
}

class CImporter
{
public:
    CImporter(const CValueStore& store, std::uint16_t setDate, std::vector<CCsvNote>* notes)
        : m_language(PanelLanguage(store))
        , m_setDate(setDate)
        , m_notes(notes)
    {
    }

    // Every note until the next call names this line's key.
    void BeginLine(std::string_view key) { m_key = key; }
    void SpeedDial(std::int32_t number, const CFields& fields, std::string_view raw);
    void Group(std::int32_t number, const CFields& fields);
    void Favourite(std::int32_t slot, const CFields& fields);
    CAddressBook& Book() { return m_book; }

private:
    void Note(CsvNoteReason reason, std::int32_t member = 0, std::string field = {})
    {
        if (m_notes) {
            m_notes->push_back({m_key, reason, member, std::move(field)});
        }
    }
    // An empty slot says "NA"; any other unknown kind is worth telling.
    void UnknownKind(std::u16string_view kind)
    {
        if (kind != u"NA") {
            Note(CsvNoteReason::KindUnknown);
        }
    }
    // A name that breaks its rule is left empty, and told.
    bool TakeName(std::u16string_view name, CNameField& target)
    {
        if (!Valid(name, InputKind::Name, kNameFieldSize - 1)) {
            Note(CsvNoteReason::NameEmptied);
            return false;
        }
        target.Assign(PanelBytes(name, std::span(m_bytes).first(kNameFieldSize - 1)));
        return true;
    }
    // The text in panel code, cut to the field's bytes.
    static std::string_view PanelBytes(std::u16string_view text, std::span<char> field)
    {
        return std::string_view(field.data(), TextToPanelBytes(text, field));
    }
    bool Valid(std::u16string_view text, InputKind kind, std::size_t maxLength, std::size_t minLength = 0) const
    {
        return text.size() >= minLength && text.size() <= maxLength && IsInputTextValid(text, kind, m_language);
    }
    void FaxMail(std::int32_t number, const CFields& fields);
    void Scan(std::int32_t number, const CFields& fields, std::string_view raw);

    std::int32_t m_language;
    std::uint16_t m_setDate;
    std::vector<CCsvNote>* m_notes;
    std::string m_key;
    CAddressBook m_book;
    std::array<char, kAddressFieldSize> m_bytes{}; // a field's panel code before it is stored
};

void CImporter::SpeedDial(std::int32_t number, const CFields& fields, std::string_view raw)
{
    if (number >= kFirstFaxMailNumber && number <= kLastFaxMailNumber) {
        FaxMail(number, fields);
    } else if (number >= kFirstScanNumber && number <= kLastScanNumber) {
        Scan(number, fields, raw);
    }
}

void CImporter::FaxMail(std::int32_t number, const CFields& fields)
{
    const std::u16string_view kind = fields.At(0);
    if (kind != u"Fax" && kind != u"E-mail") {
        UnknownKind(kind);
        return;
    }
    CFaxMailEntry entry;
    entry.number = number;
    entry.setDate = m_setDate;
    const std::u16string_view address = fields.At(2);
    const bool fax = kind == u"Fax";
    if (address.empty()) {
        Note(fax ? CsvNoteReason::FaxNumberMissing : CsvNoteReason::AddressMissing);
        return;
    }
    if (!Valid(address, fax ? InputKind::FaxNumber : InputKind::EmailAddress, fax ? 50 : kAddressFieldSize - 1)) {
        Note(fax ? CsvNoteReason::FaxNumberInvalid : CsvNoteReason::AddressInvalid, 0, Utf16ToUtf8(address));
        return;
    }
    // What the characters allow is imported; an address the editor would refuse is told, so that
    // it is corrected before it is dialled.
    if (!fax && !IsEmailAddress(address)) {
        Note(CsvNoteReason::AddressNotForEditor, 0, Utf16ToUtf8(address));
    }
    TakeName(fields.At(1), entry.name);
    if (kind == u"Fax") {
        entry.kind = kKindFax;
        const std::u16string_view speed = fields.At(3);
        entry.faxSpeed = speed == u"33.6K"   ? kFaxSpeed33600
                         : speed == u"14.4K" ? kFaxSpeed14400
                         : speed == u"9.6K"  ? kFaxSpeed9600
                                             : kFaxSpeedNotSet;
        if (!speed.empty() && entry.faxSpeed == kFaxSpeedNotSet) {
            Note(CsvNoteReason::FieldDefaulted, 0, "speed");
        }
        const std::u16string_view hour = fields.At(4);
        const std::u16string_view minute = fields.At(5);
        if (!hour.empty() || !minute.empty()) {
            const std::int64_t h = Valid(hour, InputKind::Digits, 2) ? ParseNumber(hour).value_or(-1) : -1;
            const std::int64_t m = Valid(minute, InputKind::Digits, 2) ? ParseNumber(minute).value_or(-1) : -1;
            if (h >= 0 && h < 24 && m >= 0 && m < 60) {
                entry.batchHour = static_cast<std::int32_t>(h);
                entry.batchMinute = static_cast<std::int32_t>(m);
            } else {
                Note(CsvNoteReason::FieldDefaulted, 0, "batch time");
            }
        }
    } else {
        entry.kind = kKindMail;
        entry.faxSpeed = kFaxSpeedNotSet;
    }
    entry.address.Assign(PanelBytes(address, std::span(m_bytes).first(kAddressFieldSize - 1)));
    m_book.PutFaxMailEntry(entry);
}

// The password lies between the line's last two commas, each byte raised by 48; only printable
// ASCII results are read back.
std::u16string ReadPassword(std::string_view raw)
{
    const std::size_t last = raw.rfind(',');
    if (last == std::string_view::npos || last == 0) {
        return {};
    }
    const std::size_t before = raw.rfind(',', last - 1);
    if (before == std::string_view::npos) {
        return {};
    }
    std::u16string password;
    for (std::size_t i = before + 1; i < last; ++i) {
        const auto byte = static_cast<std::uint8_t>(raw[i]);
        if (byte < 80 || byte > 174) {
            break;
        }
        password.push_back(static_cast<char16_t>(byte - kCsvPasswordShift));
    }
    return password;
}

void CImporter::Scan(std::int32_t number, const CFields& fields, std::string_view raw)
{
    CScanEntry entry;
    entry.number = number;
    entry.setDate = m_setDate;
    entry.protocol = kProtocolFtp;
    entry.port = kDefaultFtpPort;
    entry.resolution = 1;
    entry.scanMode = 2;
    entry.fileFormat = 1;
    entry.scanArea = 4;
    const std::u16string_view protocol = fields.At(0);
    if (protocol != u"FTP" && protocol != u"SMB") {
        UnknownKind(protocol);
        return;
    }
    const bool ftp = protocol == u"FTP";
    entry.protocol = ftp ? kProtocolFtp : kProtocolSmb;
    // SMB destinations are UNC paths: they take the backslash that FTP addresses do not.
    const std::u16string_view server = fields.At(2);
    if (server.empty()) {
        Note(CsvNoteReason::ServerMissing);
        return;
    }
    if (!Valid(server, ftp ? InputKind::EmailAddress : InputKind::SmbPath, 64)) {
        Note(CsvNoteReason::ServerInvalid, 0, Utf16ToUtf8(server));
        return;
    }
    entry.serverAddress = server;
    if (const std::u16string_view directory = fields.At(3); Valid(directory, InputKind::EmailAddress, 128)) {
        entry.directory = directory;
    } else {
        Note(CsvNoteReason::FieldDefaulted, 0, "directory");
    }
    std::size_t next = 4;
    if (ftp) {
        const std::u16string_view proxy = fields.At(next++);
        if (proxy == u"on") {
            entry.useProxy = 1;
        } else if (proxy == u"off") {
            entry.useProxy = 0;
        } else {
            Note(CsvNoteReason::FieldDefaulted, 0, "proxy");
        }
        if (const auto port = ParseNumber(fields.At(next++)); port && *port >= 1 && *port <= 65535) {
            entry.port = static_cast<std::int32_t>(*port);
        } else {
            Note(CsvNoteReason::FieldDefaulted, 0, "port");
        }
    }
    ++next; // the field that is always 0
    auto choice = [&](std::int32_t& target, std::int64_t last, std::string_view name) {
        if (const auto value = ParseNumber(fields.At(next++)); value && *value <= last) {
            target = static_cast<std::int32_t>(*value);
        } else {
            Note(CsvNoteReason::FieldDefaulted, 0, std::string(name));
        }
    };
    choice(entry.colourMode, 1, "colour mode");
    choice(entry.resolution, 2, "resolution");
    choice(entry.scanMode, 2, "scan mode");
    choice(entry.fileFormat, 2, "file format");
    choice(entry.codingMethod, 2, "coding method");
    choice(entry.scanArea, 5, "scan area");
    entry.mailNotification = fields.At(next++) == u"on" ? 1 : 0;
    for (std::u16string& address : entry.notificationAddresses) {
        const std::u16string_view field = fields.At(next++);
        if (Valid(field, InputKind::EmailAddress, 64)) {
            address = field;
        } else {
            Note(CsvNoteReason::FieldDefaulted, 0, "notification address");
        }
    }
    choice(entry.account, 1, "account");
    const std::u16string_view userName = fields.At(next++);
    if (entry.account == kAccountPrivateSite) {
        if (Valid(userName, InputKind::EmailAddress, 20)) {
            entry.userName = userName;
        } else {
            Note(CsvNoteReason::FieldDefaulted, 0, "user name");
        }
        if (const std::u16string password = ReadPassword(raw); Valid(password, InputKind::EmailAddress, 20)) {
            entry.password = password;
        }
    }
    TakeName(fields.At(1), entry.name);
    m_book.PutScanEntry(std::move(entry));
}

void CImporter::Group(std::int32_t number, const CFields& fields)
{
    if (fields.At(0) != u"Group") {
        UnknownKind(fields.At(0));
        return;
    }
    CGroupEntry group;
    group.number = number;
    group.setDate = m_setDate;
    TakeName(fields.At(1), group.name);
    for (std::size_t i = 2; i < fields.size(); ++i) {
        const std::u16string_view field = fields[i];
        if (field.empty()) {
            continue; // the line's closing comma
        }
        std::int64_t member = 0;
        std::size_t digits = 0;
        while (digits < field.size() && field[digits] >= u'0' && field[digits] <= u'9' && member < 100000) {
            member = member * 10 + (field[digits++] - u'0');
        }
        const bool wellFormed = digits > 0 && field.substr(digits) == u"-SP";
        if (wellFormed && m_book.FindFaxMailEntry(static_cast<std::int32_t>(member))) {
            group.members.push_back(static_cast<std::int32_t>(member));
        } else if (wellFormed) {
            Note(CsvNoteReason::MemberMissing, static_cast<std::int32_t>(member), Utf16ToUtf8(field));
        } else {
            Note(CsvNoteReason::MemberUnreadable, 0, Utf16ToUtf8(field));
        }
    }
    std::sort(group.members.begin(), group.members.end());
    group.members.erase(std::unique(group.members.begin(), group.members.end()), group.members.end());
    const CFaxMailEntry* first = group.members.empty() ? nullptr : m_book.FindFaxMailEntry(group.members.front());
    group.kind = first ? first->kind : kKindFax;
    // A group dials one kind of address: a member of the other kind would be sent the wrong way.
    std::erase_if(group.members, [&](std::int32_t member) {
        if (m_book.FindFaxMailEntry(member)->kind == group.kind) {
            return false;
        }
        Note(CsvNoteReason::MemberOfOtherKind, member);
        return true;
    });
    if (group.members.size() > kMaxGroupMembers) {
        group.members.resize(kMaxGroupMembers);
    }
    // The device keeps no group without members: one left empty would be counted and shown, then
    // dropped by the next upload or save without a word.
    if (group.members.empty()) {
        Note(CsvNoteReason::GroupEmpty);
        return;
    }
    m_book.PutGroup(std::move(group));
}

void CImporter::Favourite(std::int32_t slot, const CFields& fields)
{
    const std::u16string_view kind = fields.At(0);
    const auto number = ParseNumber(fields.At(1));
    if (kind == u"NA") {
        return;
    }
    // The speed dials and groups are in by now: a key that names none of them is left out, as the
    // export leaves it out.
    MessageCode added = kMsgInvalidRangeValue;
    const auto target = static_cast<std::int32_t>(number.value_or(0));
    if (kind == u"SPEED" && number && *number >= kFirstFaxMailNumber && *number <= kLastScanNumber &&
        (m_book.FindFaxMailEntry(target) || m_book.FindScanEntry(target))) {
        added = m_book.AddFavourite(slot, kTargetSpeedDial, target);
    } else if (kind == u"GROUP" && number && *number >= kFirstGroupNumber && *number <= kLastGroupNumber &&
               m_book.FindGroup(target)) {
        added = m_book.AddFavourite(slot, kTargetGroup, target);
    }
    if (added != kOk) {
        Note(CsvNoteReason::TargetInvalid);
    }
}

std::int32_t NumberOfKey(std::string_view key)
{
    std::int32_t number = 0;
    for (char c : key.substr(3)) {
        number = number * 10 + (c - '0');
    }
    return number;
}

// Splits the file into its first 290 lines, checking each key; nullopt when the file is not a
// complete export in key order or a line is longer than the import reads.
std::optional<std::vector<std::string_view>> ReadLines(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3); // a byte-order mark added by another editor
    }
    const auto& keys = CsvKeys();
    std::vector<std::string_view> lines;
    lines.reserve(kCsvLines);
    std::size_t pos = 0;
    while (lines.size() < kCsvLines && pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        std::string_view raw = bytes.substr(pos, (end == std::string_view::npos ? bytes.size() : end) - pos);
        pos = next;
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        const std::size_t comma = raw.find(',');
        if (raw.size() > kMaxCsvLineBytes || comma == std::string_view::npos ||
            raw.substr(0, comma) != keys[lines.size()]) {
            return std::nullopt;
        }
        lines.push_back(raw);
    }
    if (lines.size() != kCsvLines) {
        return std::nullopt;
    }
    return lines;
}

} // namespace

MessageCode ParseAddressBookCsv(std::string_view bytes,
                                CAddressBook& book,
                                const CValueStore& store,
                                std::uint16_t setDate,
                                std::vector<CCsvNote>* notes)
{
    const auto lines = ReadLines(bytes);
    if (!lines) {
        return kMsgReadFileError;
    }
    CImporter importer(store, setDate, notes);
    CFields fields;
    // The fields after the key of the lines of one kind, each line decoded when its turn comes.
    const auto eachLine = [&](std::string_view prefix, std::size_t maxFields, const auto& take) {
        for (const std::string_view raw : *lines) {
            if (raw.substr(0, 3) != prefix) {
                continue;
            }
            const std::string_view key = raw.substr(0, raw.find(','));
            importer.BeginLine(key);
            fields.Split(raw.substr(key.size() + 1), maxFields);
            take(NumberOfKey(key), raw);
        }
    };
    // Speed dials first: groups keep only members that exist and take their kind from them.
    eachLine(
        "SPD", kMaxFields, [&](std::int32_t number, std::string_view raw) { importer.SpeedDial(number, fields, raw); });
    eachLine("OTD", kMaxGroupFields, [&](std::int32_t number, std::string_view) { importer.Group(number, fields); });
    eachLine("DHD", kMaxFields, [&](std::int32_t number, std::string_view) { importer.Favourite(number, fields); });
    book.Swap(importer.Book());
    return kOk;
}

MessageCode ImportAddressBook(const std::filesystem::path& path,
                              CAddressBook& book,
                              const CValueStore& store,
                              std::uint16_t setDate,
                              CCsvReport* report)
{
    std::vector<std::uint8_t> bytes;
    // A file that is missing or cannot be read is not a damaged one: the system's reason tells why.
    if (ReadWholeFile(path, bytes) != ReadFileResult::Ok) {
        if (report) {
            report->systemError = errno;
        }
        return kMsgOpenFileError;
    }
    const MessageCode code =
        ParseAddressBookCsv(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                            book,
                            store,
                            setDate,
                            report ? &report->notes : nullptr);
    if (code == kOk && report) {
        // Groups and favourites are checked after the entries they name; the report follows the file.
        std::stable_sort(report->notes.begin(), report->notes.end(), [](const CCsvNote& a, const CCsvNote& b) {
            return CsvLineOfKey(a.key) < CsvLineOfKey(b.key);
        });
        report->read = {
            book.FaxMailEntries().size(), book.ScanEntries().size(), book.Groups().size(), book.Favourites().size()};
    }
    return code;
}

} // namespace qzb
