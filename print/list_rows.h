#pragma once

#include "base/text_lookup.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qzb {

class CAddressBook;

enum class PrintList : std::uint8_t { SpeedDial, GroupDial, Favourite };

// What the printed lists are made from, read once when printing starts.
struct CPrintSource
{
    const CAddressBook* book = nullptr;
    std::int32_t dateFormat = 0; // USER_DATE_FORMAT_SET: 0 year first, 1 month first, 2 day first
    std::int32_t panelLanguage = 0; // names are panel code
    std::u16string groupLabelFormat; // the default label of a group without a name
    std::u16string userName; // the logged-on user, in the title block
    std::uint16_t today = 0; // packed as the set dates
    TextLookup texts; // the titles and headings in the user's language; unset: the English ones
};

// One framed cell of a row. A wrapped text starts at the cell's left and takes as many lines as the
// row holds; any other text is centred on one line.
struct CListCell
{
    std::u16string text;
    bool wrap = false;

    bool operator==(const CListCell&) const = default;
};
using CListRow = std::vector<CListCell>;

// A packed set date by the date format; empty for an unknown format or a month outside 1-12 (a date
// never set is 0).
std::u16string FormatSetDate(std::uint16_t packed, std::int32_t dateFormat);

// The rows of a list for the numbers chosen, in their order: a speed dial row per number, a group row
// per group number followed by one row per member, a favourite row per slot. A number without an
// entry keeps its row, with only its number.
std::vector<CListRow> ListRows(PrintList list, const CPrintSource& source, std::span<const std::int32_t> numbers);

} // namespace qzb
