#pragma once

#include "addressbook/address_records.h"
#include "base/message_codes.h"
#include "base/text_lookup.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace qzb {

class CAddressBook;
class CValueStore;

// The address book as 290 CSV lines in a fixed key order: OTD01-OTD20 groups, SPD001-SPD250
// speed dials, DHD01-DHD20 favourites. UTF-8 without byte-order mark, CRLF line ends, U+0007
// around a text holding a comma, "NA" for an empty slot. Scan-to-server passwords are written
// with every byte raised by 48: an obfuscation other installations read, not a protection. Only
// printable ASCII survives the shift, so other passwords are left out.
inline constexpr std::size_t kCsvLines = 290;

// Longest text of each field the export writes, in UTF-16 units: the device's field sizes.
inline constexpr std::size_t kCsvNameUnits = 20;
inline constexpr std::size_t kCsvAddressUnits = 64; // fax numbers, e-mail, server and notification addresses
inline constexpr std::size_t kCsvDirectoryUnits = 128;
inline constexpr std::size_t kCsvUserNameUnits = 20;
inline constexpr std::size_t kCsvPasswordBytes = 20;

// A text field at its longest: three UTF-8 bytes a unit. An enclosed text holds a comma, whose one
// byte and the two marks around the text take no more than that.
constexpr std::size_t CsvTextBytes(std::size_t units)
{
    return 3 * units;
}

// Longest line the export writes, and so the longest the import reads, line end excluded: an FTP
// destination with every text at its longest and every number as wide as "-2147483648".
inline constexpr std::size_t kMaxCsvLineBytes =
    std::string_view("SPD221,FTP,").size() + CsvTextBytes(kCsvNameUnits) + 1 + CsvTextBytes(kCsvAddressUnits) + 1 +
    CsvTextBytes(kCsvDirectoryUnits) + 1 + std::string_view("off,").size() + 11 + 1 + std::string_view("0,").size() +
    6 * (11 + 1) + std::string_view("off,").size() + kNotificationAddressCount * (CsvTextBytes(kCsvAddressUnits) + 1) +
    std::string_view("1,").size() + CsvTextBytes(kCsvUserNameUnits) + 1 + kCsvPasswordBytes + 1;

// Why an export wrote an entry otherwise than the book holds it, or an import left something out.
enum class CsvNoteReason : std::uint8_t {
    ControlCharacters, // export: control characters of a text were written as spaces
    TextCut, // export: a text longer than its device field was cut to it
    PasswordLeftOut, // export: the password holds characters the import cannot read back
    MemberOfOtherKind, // import: a group member not of the kind of the group's first member
    KindUnknown, // import: the line names no kind of entry; left out
    AddressInvalid, // import: the e-mail address breaks its rule; left out
    NameEmptied, // import: the name breaks its rule and was left empty
    FieldDefaulted, // import: a field breaks its rule and took its default
    MemberMissing, // import: a group member that is no fax or e-mail speed dial; left out
    TargetInvalid, // import: a favourite that names no speed dial or group; left out
    GroupEmpty, // import: a group none of whose members could be read; left out
    FaxNumberMissing, // import: a fax line without its number; left out
    FaxNumberInvalid, // import: the fax number breaks its rule; left out
    AddressMissing, // import: an e-mail line without its address; left out
    ServerMissing, // import: a scan-to-server line without its server; left out
    ServerInvalid, // import: the server address breaks its rule; left out
    MemberUnreadable, // import: a group member not written as "012-SP"; left out
    AddressNotForEditor, // import: an e-mail address imported that the editor would refuse
};

// The string table key of a note's reason; the texts of member notes take the member's key
// ("SPD012") in place of their "%s", that of FieldDefaulted the field's name.
std::string_view CsvNoteTextKey(CsvNoteReason reason);
inline constexpr CsvNoteReason kCsvNoteReasons[] = {CsvNoteReason::ControlCharacters,
                                                    CsvNoteReason::TextCut,
                                                    CsvNoteReason::PasswordLeftOut,
                                                    CsvNoteReason::MemberOfOtherKind,
                                                    CsvNoteReason::KindUnknown,
                                                    CsvNoteReason::AddressInvalid,
                                                    CsvNoteReason::NameEmptied,
                                                    CsvNoteReason::FieldDefaulted,
                                                    CsvNoteReason::MemberMissing,
                                                    CsvNoteReason::TargetInvalid,
                                                    CsvNoteReason::GroupEmpty,
                                                    CsvNoteReason::FaxNumberMissing,
                                                    CsvNoteReason::FaxNumberInvalid,
                                                    CsvNoteReason::AddressMissing,
                                                    CsvNoteReason::ServerMissing,
                                                    CsvNoteReason::ServerInvalid,
                                                    CsvNoteReason::MemberUnreadable,
                                                    CsvNoteReason::AddressNotForEditor};

struct CCsvNote
{
    std::string key; // the line's key: "SPD012", "OTD03"
    CsvNoteReason reason = CsvNoteReason::ControlCharacters;
    std::int32_t member = 0; // the speed dial left out, for MemberOfOtherKind and MemberMissing
    std::string field{}; // the field's name for FieldDefaulted, else the value as the file wrote it

    bool operator==(const CCsvNote&) const = default;
};

// The line of the file that holds a key: the order of the lines is fixed. 0 for no such key.
std::int32_t CsvLineOfKey(std::string_view key);

// How many entries of each kind an import read.
struct CCsvCounts
{
    std::size_t faxMail = 0;
    std::size_t scan = 0;
    std::size_t groups = 0;
    std::size_t favourites = 0;
};

// The text a "%s" of a note's reason stands for: the value as the file wrote it, the field's
// name, or a member as the file writes members ("012-SP").
std::string CsvNoteInsert(const CCsvNote& note);

// A note as one line of a report: "line 25 (SPD005): <reason>", in the texts of text (the place
// from key "STR_CSV_NOTE_LINE").
std::u16string CsvNoteLine(const CCsvNote& note, const TextLookup& text);

// The keys of the count phrases of the summary: singular and plural of each list in turn.
std::span<const std::string_view> CsvCountTextKeys();
// What an import read, in the texts of text (key "STR_MSG_CSV_READ_COUNTS", with a count phrase
// of each list).
std::u16string CsvReadSummary(const CCsvCounts& counts, const TextLookup& text);

// What an export or import tells beside its result: the entries it wrote or read otherwise than
// they stood, and the system's reason (errno) when the file could not be opened, read or written.
struct CCsvReport
{
    std::vector<CCsvNote> notes;
    CCsvCounts read; // an import's entries, once it succeeded
    int systemError = 0;
    std::error_code writeError; // an export's, naming its kind (the folder's, no regular file)
};

// Appends ".csv" unless the name ends in it, in any case.
std::filesystem::path WithCsvExtension(const std::filesystem::path& path);

// The file's bytes. Names are read from panel code with the store's panel language; the group
// label format comes from the string table (key "STR_DR_LST_ITEM_GROUP"). Every line imports back
// as written: control characters become spaces, texts are cut to their device fields and a
// password the import cannot read back is left out, each noted in notes when given.
std::string BuildAddressBookCsv(const CAddressBook& book,
                                const CValueStore& store,
                                const TextLookup& text,
                                std::vector<CCsvNote>* notes = nullptr);

// Writes the export atomically under path (".csv" appended when missing), readable by its owner
// only since it may hold passwords; 0 or 0x80020031.
MessageCode ExportAddressBook(const std::filesystem::path& path,
                              const CAddressBook& book,
                              const CValueStore& store,
                              const TextLookup& text,
                              CCsvReport* report = nullptr);

// Reads a whole export into a new book. The book passed in is replaced only when the file is
// complete and in key order; otherwise it stays as it was and the result is 0x80020032. Lines
// that break a field's rule are skipped or stored with the field emptied; group members of
// another kind than the first are left out and noted. setDate is the packed date new entries get.
MessageCode ParseAddressBookCsv(std::string_view bytes,
                                CAddressBook& book,
                                const CValueStore& store,
                                std::uint16_t setDate,
                                std::vector<CCsvNote>* notes = nullptr);

// 0x80020030 when the file cannot be opened or read (the reason in report->systemError), else as
// ParseAddressBookCsv.
MessageCode ImportAddressBook(const std::filesystem::path& path,
                              CAddressBook& book,
                              const CValueStore& store,
                              std::uint16_t setDate,
                              CCsvReport* report = nullptr);

} // namespace qzb
