#pragma once

#include "base/message_codes.h"
#include "base/text_lookup.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qzb {

class CAddressBook;
class CValueStore;

// The address book as 290 CSV lines in a fixed key order: OTD01-OTD20 groups, SPD001-SPD250
// speed dials, DHD01-DHD20 favourites. UTF-8 without byte-order mark, CRLF line ends, U+0007
// around a text holding a comma, "NA" for an empty slot. Scan-to-server passwords are written
// with every code-page byte raised by 48: an obfuscation other installations read, not a
// protection.
inline constexpr std::size_t kCsvLines = 290;
// Longest line the import reads, line end excluded.
inline constexpr std::size_t kMaxCsvLineBytes = 1022;

// Appends ".csv" unless the name ends in it, in any case.
std::filesystem::path WithCsvExtension(const std::filesystem::path& path);

// The file's bytes. Names are read from panel code with the store's panel language; the group
// label format comes from the string table (key "STR_DR_LST_ITEM_GROUP").
std::string BuildAddressBookCsv(const CAddressBook& book, const CValueStore& store, const TextLookup& text);

// Writes the export atomically under path (".csv" appended when missing); 0 or 0x80020031.
MessageCode ExportAddressBook(const std::filesystem::path& path,
                              const CAddressBook& book,
                              const CValueStore& store,
                              const TextLookup& text);

// Reads a whole export into a new book. The book passed in is replaced only when the file is
// complete and in key order; otherwise it stays as it was and the result is 0x80020032. Lines
// that break a field's rule are skipped or stored with the field emptied. setDate is the packed
// date new entries get.
MessageCode
ParseAddressBookCsv(std::string_view bytes, CAddressBook& book, const CValueStore& store, std::uint16_t setDate);

MessageCode ImportAddressBook(const std::filesystem::path& path,
                              CAddressBook& book,
                              const CValueStore& store,
                              std::uint16_t setDate);

} // namespace qzb
