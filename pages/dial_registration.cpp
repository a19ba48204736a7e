#include "pages/dial_registration.h"

#include "addressbook/group_label.h"
#include "base/text_format.h"
#include "model/image_layout.h"
#include "pages/navigation.h"

#include <algorithm>

namespace qzb {

namespace {

constexpr std::uint32_t kCategoryMask = 0xF00000;

bool InRange(std::int32_t number, std::int32_t first, std::int32_t last)
{
    return number >= first && number <= last;
}

std::u16string SlotLabel(std::int32_t number, bool favourite)
{
    return FormatNumberText(favourite ? u"%02i" : u"%03i", number);
}

std::u16string NodeLabel(std::uint32_t value, const CDialTexts& texts)
{
    for (const CNavigationNode& node : NavigationNodes()) {
        if (node.typeCode == value) {
            return texts.text(node.textKey);
        }
    }
    return {};
}

// A speed dial's row: the number, and the name and address when it is registered. Server
// addresses go through panel code, so the row shows what the device can hold.
CDialRow SpeedDialRow(std::uint32_t item, std::int32_t number, const CAddressBook& book, const CDialTexts& texts)
{
    CDialRow row;
    row.item = item;
    row.cells[0] = SlotLabel(number, false);
    if (const CFaxMailEntry* entry = number <= kLastFaxMailNumber ? book.FindFaxMailEntry(number) : nullptr) {
        row.registered = true;
        row.cells[1] = PanelBytesToText(entry->name.View(), texts.panelLanguage);
        row.cells[2] = PanelBytesToText(entry->address.View(), texts.panelLanguage);
    } else if (const CScanEntry* server = number > kLastFaxMailNumber ? book.FindScanEntry(number) : nullptr) {
        row.registered = true;
        row.cells[1] = PanelBytesToText(server->name.View(), texts.panelLanguage);
        row.cells[2] =
            PanelBytesToText(TextToPanelBytes(server->serverAddress, scan::kServerSize), texts.panelLanguage);
    }
    return row;
}

bool SpeedDialExists(const CAddressBook& book, std::int32_t number)
{
    return number <= kLastFaxMailNumber ? book.FindFaxMailEntry(number) != nullptr
                                        : book.FindScanEntry(number) != nullptr;
}

void AppendSpeedDialRange(std::vector<CDialRow>& rows,
                          std::int32_t first,
                          std::int32_t last,
                          const CAddressBook& book,
                          const CDialTexts& texts)
{
    for (std::int32_t number = first; number <= last; ++number) {
        rows.push_back(SpeedDialRow(SpeedDialSlotItem(number), number, book, texts));
    }
}

// Folds the cases of the scripts names are written in (Latin, Greek, Cyrillic) for the list filter.
char16_t FoldCase(char16_t unit)
{
    if ((unit >= u'A' && unit <= u'Z') || (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7) ||
        (unit >= 0x391 && unit <= 0x3AB && unit != 0x3A2) || (unit >= 0x410 && unit <= 0x42F)) {
        return static_cast<char16_t>(unit + 0x20);
    }
    if (unit >= 0x400 && unit <= 0x40F) {
        return static_cast<char16_t>(unit + 0x50);
    }
    // Latin Extended-A pairs capitals with the next unit, shifted by one around the dotless i.
    if ((unit >= 0x100 && unit <= 0x137 && unit % 2 == 0) || (unit >= 0x14A && unit <= 0x177 && unit % 2 == 0) ||
        (((unit >= 0x139 && unit <= 0x148) || (unit >= 0x179 && unit <= 0x17E)) && unit % 2 == 1)) {
        return static_cast<char16_t>(unit + 1);
    }
    return unit;
}

std::u16string Folded(std::u16string_view text)
{
    std::u16string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    return folded;
}

} // namespace

std::u16string DialGroupLabel(const CAddressBook& book, std::int32_t group, const CDialTexts& texts)
{
    return GroupDisplayLabel(book.FindGroup(group), group, texts.text(kGroupLabelKey), texts.panelLanguage);
}

bool DialItemHasList(std::uint32_t value)
{
    const DialItemKind kind = DecodeDialItem(value).kind;
    return kind != DialItemKind::None && kind != DialItemKind::Root && kind != DialItemKind::SpeedDialNode;
}

CDialItem DecodeDialItem(std::uint32_t value)
{
    switch (value) {
        case kDialRootItem:
            return {DialItemKind::Root};
        case kDialFavouriteNode:
            return {DialItemKind::FavouriteNode};
        case kDialSpeedDialNode:
            return {DialItemKind::SpeedDialNode};
        case kDialFaxMailNode:
            return {DialItemKind::FaxMailNode};
        case kDialScanNode:
            return {DialItemKind::ScanNode};
        case kDialGroupNode:
            return {DialItemKind::GroupNode};
        default:
            break;
    }
    if ((value & ~0xFFFFFFu) != 0) {
        return {};
    }
    const auto group = static_cast<std::int32_t>((value >> 8) & 0xFF);
    const auto number = static_cast<std::int32_t>(value & 0xFF);
    switch (value & kCategoryMask) {
        case kDialFavouriteCategory:
            if (group == 0 && (value & 0xF0000) == 0 && InRange(number, kFirstFavouriteNumber, kLastFavouriteNumber)) {
                return {DialItemKind::FavouriteSlot, 0, number};
            }
            break;
        case kDialSpeedDialCategory:
            if (group == 0 && (value & 0xF0000) == 0 && InRange(number, kFirstFaxMailNumber, kLastScanNumber)) {
                return {DialItemKind::SpeedDialSlot, 0, number};
            }
            break;
        case kDialGroupCategory:
            if ((value & 0xF0000) != 0 || !InRange(group, kFirstGroupNumber, kLastGroupNumber)) {
                break;
            }
            if (number == 0) {
                return {DialItemKind::Group, group, 0};
            }
            if (InRange(number, kFirstFaxMailNumber, kLastScanNumber)) {
                return {DialItemKind::Member, group, number};
            }
            break;
        default:
            break;
    }
    return {};
}

std::uint32_t FavouriteSlotItem(std::int32_t slot)
{
    return kDialFavouriteCategory + static_cast<std::uint32_t>(slot);
}

std::uint32_t SpeedDialSlotItem(std::int32_t number)
{
    return kDialSpeedDialCategory + static_cast<std::uint32_t>(number);
}

std::uint32_t GroupItem(std::int32_t group)
{
    return kDialGroupCategory + (static_cast<std::uint32_t>(group) << 8);
}

std::uint32_t MemberItem(std::int32_t group, std::int32_t number)
{
    return GroupItem(group) + static_cast<std::uint32_t>(number);
}

std::uint32_t DialParentItem(std::uint32_t value)
{
    const CDialItem item = DecodeDialItem(value);
    switch (item.kind) {
        case DialItemKind::SpeedDialNode:
        case DialItemKind::GroupNode:
        case DialItemKind::FavouriteNode:
            return kDialRootItem;
        case DialItemKind::FaxMailNode:
        case DialItemKind::ScanNode:
            return kDialSpeedDialNode;
        case DialItemKind::FavouriteSlot:
            return kDialFavouriteNode;
        case DialItemKind::SpeedDialSlot:
            return item.number <= kLastFaxMailNumber ? kDialFaxMailNode : kDialScanNode;
        case DialItemKind::Group:
            return kDialGroupNode;
        case DialItemKind::Member:
            return GroupItem(item.group);
        case DialItemKind::Root:
        case DialItemKind::None:
            break;
    }
    return 0;
}

std::u16string DialItemLabel(std::uint32_t value, const CAddressBook& book, const CDialTexts& texts)
{
    const CDialItem item = DecodeDialItem(value);
    switch (item.kind) {
        case DialItemKind::None:
            return {};
        case DialItemKind::FavouriteSlot:
            return SlotLabel(item.number, true);
        case DialItemKind::SpeedDialSlot:
        case DialItemKind::Member:
            return SlotLabel(item.number, false);
        case DialItemKind::Group:
            return DialGroupLabel(book, item.group, texts);
        default:
            return NodeLabel(value, texts);
    }
}

std::vector<CDialTreeItem> DialSlotItems(std::uint32_t node, const CAddressBook& book, const CDialTexts& texts)
{
    std::vector<CDialTreeItem> items;
    switch (node) {
        case kDialFavouriteNode:
            for (std::int32_t slot = kFirstFavouriteNumber; slot <= kLastFavouriteNumber; ++slot) {
                items.push_back({FavouriteSlotItem(slot), node, SlotLabel(slot, true)});
            }
            break;
        case kDialFaxMailNode:
        case kDialScanNode: {
            const bool scan = node == kDialScanNode;
            for (std::int32_t n = scan ? kFirstScanNumber : kFirstFaxMailNumber;
                 n <= (scan ? kLastScanNumber : kLastFaxMailNumber);
                 ++n) {
                items.push_back({SpeedDialSlotItem(n), node, SlotLabel(n, false)});
            }
            break;
        }
        case kDialGroupNode: {
            const std::vector<CDialTreeItem> members = DialMemberItems(book);
            auto member = members.begin();
            for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
                items.push_back({GroupItem(group), node, DialGroupLabel(book, group, texts)});
                for (; member != members.end() && member->parent == GroupItem(group); ++member) {
                    items.push_back(*member);
                }
            }
            break;
        }
        default:
            break;
    }
    return items;
}

std::vector<CDialTreeItem> DialMemberItems(const CAddressBook& book)
{
    std::vector<CDialTreeItem> items;
    for (const CGroupEntry& group : book.Groups()) {
        for (const std::int32_t number : group.members) {
            items.push_back({MemberItem(group.number, number), GroupItem(group.number), SlotLabel(number, false)});
        }
    }
    return items;
}

std::u16string DialPathLabel(std::uint32_t value, const CAddressBook& book, const CDialTexts& texts)
{
    std::vector<std::u16string> ancestors;
    for (std::uint32_t parent = DialParentItem(value); parent != 0; parent = DialParentItem(parent)) {
        ancestors.push_back(DialItemLabel(parent, book, texts));
    }
    std::u16string path = u"\\";
    for (auto label = ancestors.rbegin(); label != ancestors.rend(); ++label) {
        path += u'\\';
        path += *label;
    }
    return path;
}

std::int32_t ScaledDialColumnWidth(std::int32_t width, std::int32_t dotsPerInchY)
{
    return width * dotsPerInchY / 96;
}

bool DeleteStaleFavourite(CAddressBook& book, std::int32_t slot)
{
    const CFavourite* favourite = book.FindFavourite(slot);
    if (!favourite) {
        return false;
    }
    const bool targetExists = favourite->targetKind == kTargetGroup ? book.FindGroup(favourite->targetNumber) != nullptr
                                                                    : SpeedDialExists(book, favourite->targetNumber);
    return !targetExists && book.DeleteFavourite(slot);
}

std::vector<CDialRow> DialListRows(std::uint32_t value, const CAddressBook& book, const CDialTexts& texts)
{
    std::vector<CDialRow> rows;
    const CDialItem item = DecodeDialItem(value);
    switch (item.kind) {
        case DialItemKind::FavouriteSlot: {
            const CFavourite* favourite = book.FindFavourite(item.number);
            if (!favourite) {
                break;
            }
            CDialRow row;
            if (favourite->targetKind == kTargetGroup) {
                if (!book.FindGroup(favourite->targetNumber)) {
                    break;
                }
                row.cells[1] = DialGroupLabel(book, favourite->targetNumber, texts);
            } else {
                if (!SpeedDialExists(book, favourite->targetNumber)) {
                    break;
                }
                row = SpeedDialRow(value, favourite->targetNumber, book, texts);
            }
            row.item = value;
            row.registered = true;
            row.cells[0] = SlotLabel(item.number, true);
            rows.push_back(std::move(row));
            break;
        }
        case DialItemKind::FaxMailNode:
            AppendSpeedDialRange(rows, kFirstFaxMailNumber, kLastFaxMailNumber, book, texts);
            break;
        case DialItemKind::ScanNode:
            AppendSpeedDialRange(rows, kFirstScanNumber, kLastScanNumber, book, texts);
            break;
        case DialItemKind::SpeedDialSlot:
        case DialItemKind::Member:
            if (SpeedDialExists(book, item.number)) {
                rows.push_back(SpeedDialRow(value, item.number, book, texts));
            }
            break;
        case DialItemKind::Group:
            if (const CGroupEntry* group = book.FindGroup(item.group)) {
                for (const std::int32_t number : group->members) {
                    rows.push_back(SpeedDialRow(MemberItem(item.group, number), number, book, texts));
                }
            }
            break;
        default:
            break;
    }
    return rows;
}

std::vector<CDialRow> FilterDialRows(std::span<const CDialRow> rows, std::u16string_view query)
{
    const std::u16string needle = Folded(query);
    std::vector<CDialRow> kept;
    for (const CDialRow& row : rows) {
        if (std::any_of(row.cells.begin(), row.cells.end(), [&needle](const std::u16string& cell) {
                return Folded(cell).find(needle) != std::u16string::npos;
            })) {
            kept.push_back(row);
        }
    }
    return kept;
}

CDialUsage DialListUsage(std::uint32_t value, const CAddressBook& book)
{
    const CDialItem item = DecodeDialItem(value);
    if (item.kind == DialItemKind::Group || item.kind == DialItemKind::Member) {
        const CGroupEntry* group = book.FindGroup(item.group);
        return {group ? group->members.size() : 0, kMaxGroupMembers};
    }
    switch (PageTypeOfItem(value)) {
        case kDialFavouriteNode:
            return {book.Favourites().size(), kMaxFavourites};
        case kDialFaxMailNode:
            return {book.FaxMailEntries().size(), kMaxFaxMailEntries};
        case kDialScanNode:
            return {book.ScanEntries().size(), kMaxScanEntries};
        case kDialGroupNode:
            return {book.Groups().size(), kMaxGroups};
        default:
            return {};
    }
}

std::vector<std::string> DialRegistrationTextKeys()
{
    std::vector<std::string> keys = {
        std::string(kGroupLabelKey),
        "STR_DR_TXT_SD_SET_FRAM",
        "STR_DR_RAD_FAX_EMAIL",
        "STR_DR_RAD_SCAN_TO_SERVER",
        "STR_DR_TXT_DIAL_REGISTRATION",
        "STR_DR_TXT_DIAL_REG_PATH",
        "STR_DR_BTN_NEW_REGSTRATION",
        "STR_DR_BTN_EDIT",
        "STR_DR_BTN_DELETE",
        "STR_DR_TXT_ADD_GROUP",
        "STR_DR_TXT_LIST_USAGE",
        "STR_DR_TXT_FILTER",
    };
    keys.insert(keys.end(), kDialColumnKeys.begin(), kDialColumnKeys.end());
    for (const std::uint32_t node :
         {kDialRootItem, kDialSpeedDialNode, kDialFaxMailNode, kDialScanNode, kDialGroupNode, kDialFavouriteNode}) {
        for (const CNavigationNode& row : NavigationNodes()) {
            if (row.typeCode == node) {
                keys.emplace_back(row.textKey);
            }
        }
    }
    return keys;
}

} // namespace qzb
