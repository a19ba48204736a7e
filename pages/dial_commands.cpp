#include "pages/dial_commands.h"

#include "addressbook/group_label.h"
#include "model/text_codec.h"

#include <algorithm>

namespace qzb {

namespace {

bool Enabled(DialFocus button, const CDialButtons& buttons)
{
    switch (button) {
        case DialFocus::NewRegistration:
            return buttons.newRegistration;
        case DialFocus::Edit:
            return buttons.edit;
        case DialFocus::Delete:
            return buttons.remove;
        case DialFocus::Tree:
            break;
    }
    return true;
}

bool IsMember(const CGroupEntry* group, std::int32_t speedNumber)
{
    return group && std::binary_search(group->members.begin(), group->members.end(), speedNumber);
}

CDialCommand FromFreeNumber(CNumberResult free, DialEditor editor)
{
    if (free.code != kOk) {
        return {free.code, DialEditor::None, 0};
    }
    return {kOk, editor, free.number};
}

} // namespace

CDialButtons DialButtonStates(std::uint32_t item, std::size_t rows)
{
    const CDialItem decoded = DecodeDialItem(item);
    const bool numbered = decoded.number != 0;
    const bool shown = rows >= 1;
    switch (decoded.kind) {
        case DialItemKind::FavouriteSlot:
            return {false, false, numbered && shown};
        case DialItemKind::SpeedDialSlot:
            return {numbered && rows == 0, numbered && shown, numbered && shown};
        case DialItemKind::Group:
            return {false, shown, false};
        case DialItemKind::Member:
            return {false, shown, shown};
        case DialItemKind::FavouriteNode:
        case DialItemKind::FaxMailNode:
        case DialItemKind::ScanNode:
            return {true, false, false};
        default:
            return {};
    }
}

DialFocus DialFocusAfterCommand(DialFocus pressed, const CDialButtons& buttons)
{
    if (Enabled(pressed, buttons)) {
        return pressed;
    }
    for (const DialFocus button : {DialFocus::NewRegistration, DialFocus::Edit, DialFocus::Delete}) {
        if (button != pressed && Enabled(button, buttons)) {
            return button;
        }
    }
    return DialFocus::Tree;
}

CDialRadios DialRadioStates(std::int64_t pageType)
{
    if (pageType == kDialFaxMailNode) {
        return {true, true, false};
    }
    if (pageType == kDialScanNode) {
        return {true, false, true};
    }
    return {};
}

CDialRadioJump DialRadioJump(bool toScan)
{
    return toScan ? CDialRadioJump{kDialFaxMailNode, kDialScanNode} : CDialRadioJump{kDialScanNode, kDialFaxMailNode};
}

std::int32_t DialCheckListNumber(std::uint32_t item, const CAddressBook& book)
{
    const CDialItem decoded = DecodeDialItem(item);
    if (decoded.kind != DialItemKind::SpeedDialSlot && decoded.kind != DialItemKind::Member) {
        return 0;
    }
    // Only fax/e-mail entries have a kind a group can be checked against.
    return book.FindFaxMailEntry(decoded.number) ? decoded.number : 0;
}

std::vector<std::u16string> GroupCheckLabels(const CAddressBook& book, const CDialTexts& texts)
{
    std::vector<std::u16string> labels;
    for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
        labels.push_back(DialGroupLabel(book, group, texts));
    }
    return labels;
}

CGroupChecks GroupCheckStates(const CAddressBook& book, std::int32_t speedNumber)
{
    CGroupChecks checks{};
    for (std::size_t row = 0; row < kGroupCheckRows; ++row) {
        checks[row] = IsMember(book.FindGroup(static_cast<std::int32_t>(row) + 1), speedNumber);
    }
    return checks;
}

MessageCode ApplyGroupChecks(CAddressBook& book,
                             std::int32_t speedNumber,
                             const CGroupChecks& checks,
                             std::size_t clickedRow,
                             const CDialTexts& texts,
                             std::uint16_t setDate)
{
    const CFaxMailEntry* entry = book.FindFaxMailEntry(speedNumber);
    if (!entry || clickedRow >= kGroupCheckRows) {
        return kMsgInvalidRangeValue;
    }
    const std::int32_t kind = entry->kind;
    const auto clickedGroup = static_cast<std::int32_t>(clickedRow) + 1;
    if (checks[clickedRow] && !IsMember(book.FindGroup(clickedGroup), speedNumber)) {
        if (const MessageCode refused = book.CheckGroupAdmission(clickedGroup, kind); refused != kOk) {
            return refused;
        }
    }
    // Worked on a copy, so that a refusal of any row leaves the book as it was.
    CAddressBook changed = book;
    const std::u16string format = texts.text(kGroupLabelKey);
    for (std::size_t row = 0; row < kGroupCheckRows; ++row) {
        const auto group = static_cast<std::int32_t>(row) + 1;
        const bool created = checks[row] && !changed.FindGroup(group);
        // Rows the caller did not click are checked as well, so a stale check list cannot put an
        // entry into a group of the other kind.
        if (checks[row] && !IsMember(changed.FindGroup(group), speedNumber)) {
            if (const MessageCode refused = changed.CheckGroupAdmission(group, kind); refused != kOk) {
                return refused;
            }
        }
        if (const MessageCode code = changed.SetGroupMembership(group, speedNumber, checks[row], kind, setDate);
            code != kOk) {
            return code;
        }
        if (created) {
            // A group made from the check list is named after its number, as its row showed it.
            changed.SetGroupName(
                group,
                ProcessCodePage().EncodeLimited(DefaultGroupLabel(format, group), CNameField::kMaxLength),
                setDate);
        }
    }
    book.Swap(changed);
    return kOk;
}

CDialCommand DialNewRegistration(std::uint32_t item, const CAddressBook& book)
{
    const CDialItem decoded = DecodeDialItem(item);
    switch (decoded.kind) {
        case DialItemKind::FavouriteNode:
            return FromFreeNumber(book.FirstFreeNumber(AddressList::Favourite), DialEditor::Favourite);
        case DialItemKind::FaxMailNode:
            return FromFreeNumber(book.FirstFreeNumber(AddressList::FaxMail), DialEditor::FaxMail);
        case DialItemKind::ScanNode:
            return FromFreeNumber(book.FirstFreeNumber(AddressList::Scan), DialEditor::Scan);
        case DialItemKind::SpeedDialSlot:
            if (decoded.number <= kLastFaxMailNumber) {
                return book.FindFaxMailEntry(decoded.number) ? CDialCommand{}
                                                             : CDialCommand{kOk, DialEditor::FaxMail, decoded.number};
            }
            return book.FindScanEntry(decoded.number) ? CDialCommand{}
                                                      : CDialCommand{kOk, DialEditor::Scan, decoded.number};
        default:
            return {};
    }
}

CDialCommand DialEdit(std::uint32_t item, std::size_t rows)
{
    const CDialItem decoded = DecodeDialItem(item);
    if (decoded.kind == DialItemKind::Group) {
        return {kOk, DialEditor::GroupName, decoded.group};
    }
    if ((decoded.kind != DialItemKind::SpeedDialSlot && decoded.kind != DialItemKind::Member) || rows == 0) {
        return {};
    }
    return {kOk, decoded.number <= kLastFaxMailNumber ? DialEditor::FaxMail : DialEditor::Scan, decoded.number};
}

std::uint32_t DialItemOfEdited(const CDialCommand& command)
{
    switch (command.editor) {
        case DialEditor::Favourite:
            return FavouriteSlotItem(command.number);
        case DialEditor::FaxMail:
        case DialEditor::Scan:
            return SpeedDialSlotItem(command.number);
        case DialEditor::GroupName:
            return GroupItem(command.number);
        case DialEditor::None:
            break;
    }
    return 0;
}

std::uint32_t DialRowTreeItem(std::uint32_t shownItem, const CDialRow& row)
{
    return row.item != shownItem ? row.item : 0;
}

bool DialListKeepsRow(std::uint32_t listItem, std::uint32_t item, std::span<const CDialRow> rows)
{
    return item != listItem &&
           std::any_of(rows.begin(), rows.end(), [item](const CDialRow& row) { return row.item == item; });
}

CDialCommand DialRowOpen(std::uint32_t item, std::size_t rows, const CAddressBook& book)
{
    const CDialButtons buttons = DialButtonStates(item, rows);
    if (buttons.edit) {
        return DialEdit(item, rows);
    }
    if (buttons.newRegistration) {
        return DialNewRegistration(item, book);
    }
    return {};
}

bool DialDelete(std::uint32_t item, std::size_t rows, CAddressBook& book)
{
    const CDialItem decoded = DecodeDialItem(item);
    if (rows == 0 || decoded.number == 0) {
        return false;
    }
    switch (decoded.kind) {
        case DialItemKind::FavouriteSlot:
            return book.DeleteFavourite(decoded.number);
        case DialItemKind::SpeedDialSlot:
            return decoded.number <= kLastFaxMailNumber ? book.DeleteFaxMailEntry(decoded.number)
                                                        : book.DeleteScanEntry(decoded.number);
        case DialItemKind::Member:
            if (!IsMember(book.FindGroup(decoded.group), decoded.number)) {
                return false;
            }
            return book.RemoveMemberFromGroup(decoded.group, decoded.number) == kOk;
        default:
            return false;
    }
}

std::uint32_t DialItemStillShown(std::uint32_t item, const CAddressBook& book)
{
    for (std::uint32_t shown = item; shown != 0; shown = DialParentItem(shown)) {
        const CDialItem decoded = DecodeDialItem(shown);
        if (decoded.kind == DialItemKind::Member && !IsMember(book.FindGroup(decoded.group), decoded.number)) {
            continue;
        }
        if (decoded.kind == DialItemKind::Group && book.FindGroup(decoded.group) == nullptr) {
            continue;
        }
        return shown;
    }
    return item;
}

const CDialList* FindDialList(std::string_view name)
{
    for (const CDialList& list : kDialLists) {
        if (list.name == name) {
            return &list;
        }
    }
    return nullptr;
}

} // namespace qzb
