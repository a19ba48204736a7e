#include "print/list_rows.h"

#include "addressbook/address_book.h"
#include "addressbook/group_label.h"
#include "base/text_format.h"
#include "model/image_layout.h"
#include "model/panel_code.h"

#include <array>

namespace qzb {

namespace {

constexpr std::array<std::u16string_view, 12> kMonthNames = {
    u"JAN", u"FEB", u"MAR", u"APR", u"MAY", u"JUN", u"JUL", u"AUG", u"SEP", u"OCT", u"NOV", u"DEC"};

std::u16string Padded(std::int64_t number, int width)
{
    std::u16string format = u"%0" + std::u16string(1, static_cast<char16_t>(u'0' + width)) + u"i";
    return FormatNumberText(format, number);
}

CListCell Centred(std::u16string text)
{
    return {std::move(text), false};
}

CListCell Wrapped(std::u16string text)
{
    return {std::move(text), true};
}

std::u16string SpeedText(const CFaxMailEntry& entry)
{
    if (entry.kind != kKindFax) {
        return {};
    }
    switch (entry.faxSpeed) {
        case kFaxSpeed9600:
            return u"9.6";
        case kFaxSpeed14400:
            return u"14.4";
        case kFaxSpeed33600:
            return u"33.6";
        default:
            return {};
    }
}

std::u16string BatchText(const CFaxMailEntry& entry)
{
    if (entry.kind != kKindFax || entry.batchHour < 0 || entry.batchMinute < 0) {
        return {};
    }
    return Padded(entry.batchHour, 2) + u":" + Padded(entry.batchMinute, 2);
}

std::u16string Name(const auto& entry, const CPrintSource& source)
{
    return PanelBytesToText(entry.name.View(), source.panelLanguage);
}

// Server addresses go through panel code, as the device holds them.
std::u16string ServerText(const CScanEntry& entry, const CPrintSource& source)
{
    return PanelBytesToText(TextToPanelBytes(entry.serverAddress, scan::kServerSize), source.panelLanguage);
}

CListRow SpeedDialRow(std::int32_t number, const CPrintSource& source)
{
    CListRow row = {
        Centred(u"SD-" + Padded(number, 3)), Wrapped({}), Wrapped({}), Centred({}), Centred({}), Centred({})};
    if (const CFaxMailEntry* entry = number <= kLastFaxMailNumber ? source.book->FindFaxMailEntry(number) : nullptr) {
        row[1].text = Name(*entry, source);
        row[2].text = PanelBytesToText(entry->address.View(), source.panelLanguage);
        row[3].text = BatchText(*entry);
        row[4].text = SpeedText(*entry);
        row[5].text = FormatSetDate(entry->setDate, source.dateFormat);
    } else if (const CScanEntry* scan = number > kLastFaxMailNumber ? source.book->FindScanEntry(number) : nullptr) {
        row[1].text = Name(*scan, source);
        row[2].text = ServerText(*scan, source);
        row[5].text = FormatSetDate(scan->setDate, source.dateFormat);
    }
    return row;
}

void AppendGroupRows(std::vector<CListRow>& rows, std::int32_t number, const CPrintSource& source)
{
    const CGroupEntry* group = source.book->FindGroup(number);
    rows.push_back({Centred(u"GD-" + Padded(number, 2)),
                    Wrapped(GroupDisplayLabel(group, number, source.groupLabelFormat, source.panelLanguage)),
                    Centred({}),
                    Wrapped({})});
    if (group == nullptr) {
        return;
    }
    std::int32_t position = 0;
    for (const std::int32_t member : group->members) {
        std::u16string name;
        std::u16string address;
        if (const CFaxMailEntry* entry = source.book->FindFaxMailEntry(member)) {
            name = Name(*entry, source);
            address = PanelBytesToText(entry->address.View(), source.panelLanguage);
        } else if (const CScanEntry* scan = source.book->FindScanEntry(member)) {
            name = Name(*scan, source);
            address = ServerText(*scan, source);
        }
        rows.push_back({Centred({}),
                        Wrapped({}),
                        Centred(Padded(++position, 2)),
                        Wrapped(u"SD-" + Padded(member, 3) + u" " + name + u"\n       " + address)});
    }
}

CListRow FavouriteRow(std::int32_t slot, const CPrintSource& source)
{
    CListRow row = {Centred(u"FA-" + Padded(slot, 2)), Wrapped({}), Wrapped({}), Centred({}), Centred({})};
    const CFavourite* favourite = source.book->FindFavourite(slot);
    if (favourite == nullptr) {
        return row;
    }
    const std::int32_t target = favourite->targetNumber;
    if (favourite->targetKind == kTargetGroup) {
        // A favourite whose group has gone keeps only its slot number.
        if (const CGroupEntry* group = source.book->FindGroup(target)) {
            row[1].text = GroupDisplayLabel(group, target, source.groupLabelFormat, source.panelLanguage);
            row[4].text = FormatSetDate(group->setDate, source.dateFormat);
        }
    } else if (const CFaxMailEntry* entry =
                   target <= kLastFaxMailNumber ? source.book->FindFaxMailEntry(target) : nullptr) {
        row[1].text = Name(*entry, source);
        row[2].text = PanelBytesToText(entry->address.View(), source.panelLanguage);
        row[3].text = SpeedText(*entry);
        row[4].text = FormatSetDate(entry->setDate, source.dateFormat);
    } else if (const CScanEntry* scan = target > kLastFaxMailNumber ? source.book->FindScanEntry(target) : nullptr) {
        row[1].text = Name(*scan, source);
        row[4].text = FormatSetDate(scan->setDate, source.dateFormat);
    }
    return row;
}

} // namespace

std::u16string FormatSetDate(std::uint16_t packed, std::int32_t dateFormat)
{
    const CDeviceDate date = UnpackDeviceDate(packed);
    // A date never set unpacks to month 0, which names no month.
    if (date.month < 1 || date.month > kMonthNames.size()) {
        return {};
    }
    const std::u16string month(kMonthNames[date.month - 1]);
    const std::u16string day = Padded(date.day, 2);
    const std::u16string year = Padded(date.year, 4);
    switch (dateFormat) {
        case 0:
            return year + u"." + month + u"." + day;
        case 1:
            return month + u"." + day + u"." + year;
        case 2:
            return day + u"." + month + u"." + year;
        default:
            return {};
    }
}

std::vector<CListRow> ListRows(PrintList list, const CPrintSource& source, std::span<const std::int32_t> numbers)
{
    std::vector<CListRow> rows;
    if (source.book == nullptr) {
        return rows;
    }
    for (const std::int32_t number : numbers) {
        switch (list) {
            case PrintList::SpeedDial:
                rows.push_back(SpeedDialRow(number, source));
                break;
            case PrintList::GroupDial:
                AppendGroupRows(rows, number, source);
                break;
            case PrintList::Favourite:
                rows.push_back(FavouriteRow(number, source));
                break;
        }
    }
    return rows;
}

} // namespace qzb
