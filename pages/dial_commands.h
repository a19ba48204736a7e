#pragma once

#include "addressbook/address_book.h"
#include "base/message_codes.h"
#include "pages/dial_registration.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

// The enabled states of the three command buttons for the selected item and the number of rows
// its entry list shows.
struct CDialButtons
{
    bool newRegistration = false;
    bool edit = false;
    bool remove = false;

    bool operator==(const CDialButtons&) const = default;
};
CDialButtons DialButtonStates(std::uint32_t item, std::size_t rows);

enum class DialFocus { NewRegistration, Edit, Delete, Tree };
// Where the focus goes after a command whose button has become disabled: the first other enabled
// button, or else the tree. The pressed button keeps it while it stays enabled.
DialFocus DialFocusAfterCommand(DialFocus pressed, const CDialButtons& buttons);

// The speed-dial radio pair, enabled only on the fax/e-mail and scan-to-server pages.
struct CDialRadios
{
    bool enabled = false;
    bool faxMailChecked = false;
    bool scanChecked = false;

    bool operator==(const CDialRadios&) const = default;
};
CDialRadios DialRadioStates(std::int64_t pageType);

// A radio jump collapses one speed-dial node and selects and expands the other.
struct CDialRadioJump
{
    std::uint32_t collapse;
    std::uint32_t select;
};
CDialRadioJump DialRadioJump(bool toScan);

// The speed number the group check list works on: a fax/e-mail slot or a member item of a
// registered fax/e-mail entry; 0 when the list is hidden.
std::int32_t DialCheckListNumber(std::uint32_t item, const CAddressBook& book);

inline constexpr std::size_t kGroupCheckRows = kMaxGroups;
using CGroupChecks = std::array<bool, kGroupCheckRows>;

// Row r stands for group r + 1 and shows that group's display label, as the tree and the editors do.
std::vector<std::u16string> GroupCheckLabels(const CAddressBook& book, const CDialTexts& texts);
// Row r is checked when group r + 1 exists and lists the number among its members.
CGroupChecks GroupCheckStates(const CAddressBook& book, std::int32_t speedNumber);
// Applies the check list for the number after the user changed clickedRow: a newly checked row
// must pass the group's kind and size checks first. Then every checked group gets the number (a
// missing group is created, named after its row label in the code page), every unchecked group
// loses it, and a group left empty goes with its favourites. On a refusal the book is unchanged
// and the caller clears the row's check again.
MessageCode ApplyGroupChecks(CAddressBook& book,
                             std::int32_t speedNumber,
                             const CGroupChecks& checks,
                             std::size_t clickedRow,
                             const CDialTexts& texts,
                             std::uint16_t setDate = PackDeviceDate());

enum class DialEditor { None, Favourite, FaxMail, Scan, GroupName };

// An address-book list by the name the command line and the picture tour know it by, and the
// editor a user reaches from it.
struct CDialList
{
    std::string_view name;
    std::uint32_t node;
    DialEditor editor;
};

inline constexpr CDialList kDialLists[] = {
    {"FAX_EMAIL", kDialFaxMailNode, DialEditor::FaxMail},
    {"SCAN_TO_SERVER", kDialScanNode, DialEditor::Scan},
    {"GROUP_DIAL", kDialGroupNode, DialEditor::GroupName},
    {"ADDRESS_BOOK", kDialFavouriteNode, DialEditor::Favourite},
};

// Null for a name that is no list.
const CDialList* FindDialList(std::string_view name);

// The editor a command opens and for which number (slot, speed number or group); a refusal
// carries its message code and no editor.
struct CDialCommand
{
    MessageCode code = kOk;
    DialEditor editor = DialEditor::None;
    std::int32_t number = 0;

    bool operator==(const CDialCommand&) const = default;
};
CDialCommand DialNewRegistration(std::uint32_t item, const CAddressBook& book);
CDialCommand DialEdit(std::uint32_t item, std::size_t rows);
// The tree item to select once the editor closed with OK.
std::uint32_t DialItemOfEdited(const CDialCommand& command);
// Deletes what the selected item shows, with the book's cascades. Returns true when it changed
// the book; nothing happens for an empty list or an item without a number.
bool DialDelete(std::uint32_t item, std::size_t rows, CAddressBook& book);
// The entry list as a way to the tree: a row stands for a slot, member or group item, and selecting
// the row selects that item in the tree, so that the buttons act on it as on any item selected
// there. The item a row leads to; 0 when the row is the shown item's own.
std::uint32_t DialRowTreeItem(std::uint32_t shownItem, const CDialRow& row);
// Whether the list of listItem stays on screen once the tree's selection followed one of its rows
// to item: so it does while item is one of the rows and not the list's own item, and the user
// keeps the whole list to move on in.
bool DialListKeepsRow(std::uint32_t listItem, std::uint32_t item, std::span<const CDialRow> rows);
// What a double click or Enter on a row opens for the item it selected, whose own list holds rows
// entries: the editor Edit opens where Edit is enabled, else the one New registration opens (a free
// slot), else nothing.
CDialCommand DialRowOpen(std::uint32_t item, std::size_t rows, const CAddressBook& book);

// The item to show after the book changed: the item itself while the book still has it, else the
// nearest item above it that it has (a deleted member's group, or the group list once the group
// went with its last member).
std::uint32_t DialItemStillShown(std::uint32_t item, const CAddressBook& book);

} // namespace qzb
