#pragma once

#include "addressbook/address_book.h"
#include "base/text_lookup.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

// Values carried by the items of the dial registration branch of the navigation tree. Slot items
// carry a category in bits 20-23, the group number in bits 8-15 and the slot or member number in
// bits 0-7.
inline constexpr std::uint32_t kDialRootItem = 0x1000000;
inline constexpr std::uint32_t kDialFavouriteNode = 0x1000001;
inline constexpr std::uint32_t kDialSpeedDialNode = 0x1000002;
inline constexpr std::uint32_t kDialFaxMailNode = 0x1000004;
inline constexpr std::uint32_t kDialScanNode = 0x1000008;
inline constexpr std::uint32_t kDialGroupNode = 0x1000010;
inline constexpr std::uint32_t kDialFavouriteCategory = 0x100000;
inline constexpr std::uint32_t kDialSpeedDialCategory = 0x200000;
inline constexpr std::uint32_t kDialGroupCategory = 0x400000;

enum class DialItemKind {
    None,
    Root,
    SpeedDialNode,
    FaxMailNode,
    ScanNode,
    GroupNode,
    FavouriteNode,
    FavouriteSlot,
    SpeedDialSlot,
    Group,
    Member,
};

struct CDialItem
{
    DialItemKind kind = DialItemKind::None;
    std::int32_t group = 0; // group items and member items
    std::int32_t number = 0; // slot or member number; 0 for nodes and group items
};

// None for a value outside the branch or with a number outside its range.
CDialItem DecodeDialItem(std::uint32_t value);
// Whether the item has an entry list to show: every item of the branch but the branch root and the
// speed dial node, which only group the nodes under them and show the connection band instead.
bool DialItemHasList(std::uint32_t value);
std::uint32_t FavouriteSlotItem(std::int32_t slot);
std::uint32_t SpeedDialSlotItem(std::int32_t number);
std::uint32_t GroupItem(std::int32_t group);
std::uint32_t MemberItem(std::int32_t group, std::int32_t number);
// The parent item, 0 for the branch root and for values outside the branch.
std::uint32_t DialParentItem(std::uint32_t value);

// What the labels need: the string table and the panel language the names are read in.
struct CDialTexts
{
    TextLookup text;
    std::int32_t panelLanguage = 0;
};

struct CDialTreeItem
{
    std::uint32_t value;
    std::uint32_t parent;
    std::u16string label;
};

// A group's display label: its name, or the numbered label when it has none or is missing.
std::u16string DialGroupLabel(const CAddressBook& book, std::int32_t group, const CDialTexts& texts);
// The label of any item of the branch: node titles, "%02i" favourite slots, "%03i" speed dials and
// members, group display labels.
std::u16string DialItemLabel(std::uint32_t value, const CAddressBook& book, const CDialTexts& texts);
// The children a node is given once: favourite slots 1-20, speed dials 1-220 or 221-250, or the 20
// group items each followed by its member items. Empty for other values.
std::vector<CDialTreeItem> DialSlotItems(std::uint32_t node, const CAddressBook& book, const CDialTexts& texts);
// The member items of every group, group by group in ascending order: what the groups' children
// are resynchronised to after a change.
std::vector<CDialTreeItem> DialMemberItems(const CAddressBook& book);
// "\" and each ancestor's label from the root down, each after a "\", with one more "\" in front;
// the item's own label is not part of it.
std::u16string DialPathLabel(std::uint32_t value, const CAddressBook& book, const CDialTexts& texts);

// The entry list: number, name and address, whatever the selection. Widths at 96 dots per inch.
inline constexpr std::array<std::string_view, 3> kDialColumnKeys = {
    "STR_DR_LST_NO", "STR_DR_LST_NAME", "STR_DR_LST_ADDRESS"};
inline constexpr std::array<std::int32_t, 3> kDialColumnWidths = {50, 100, 100};
std::int32_t ScaledDialColumnWidth(std::int32_t width, std::int32_t dotsPerInchY);

struct CDialRow
{
    std::uint32_t item = 0; // the tree item the row stands for
    std::array<std::u16string, 3> cells;
    bool registered = false; // false for the empty row of a free slot

    bool operator==(const CDialRow&) const = default;
};

// Deletes the favourite in the slot when its target no longer exists (later slots move down), as
// is done before the slot is shown. Returns true when it deleted it.
bool DeleteStaleFavourite(CAddressBook& book, std::int32_t slot);
// The rows of the entry list for the selected item, in list order.
std::vector<CDialRow> DialListRows(std::uint32_t value, const CAddressBook& book, const CDialTexts& texts);

// The rows any of whose cells holds the query, ignoring case; all rows for an empty query.
std::vector<CDialRow> FilterDialRows(std::span<const CDialRow> rows, std::u16string_view query);

// How full the list behind the selection is: favourites, fax/e-mail or scan-to-server entries,
// groups (group node) or the members of the selected group. Capacity 0 outside those.
struct CDialUsage
{
    std::size_t used = 0;
    std::size_t capacity = 0;

    bool operator==(const CDialUsage&) const = default;
};
CDialUsage DialListUsage(std::uint32_t value, const CAddressBook& book);

// The text keys the page looks up.
std::vector<std::string> DialRegistrationTextKeys();

} // namespace qzb
