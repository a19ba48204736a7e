#include "addressbook/csv_exchange.h"

#include "addressbook/csv_format.h"
#include "addressbook/report_text.h"
#include "base/text_format.h"
#include "model/text_codec.h"

#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <utility>

namespace qzb {

std::u16string FillInserts(std::u16string text, std::initializer_list<std::u16string> inserts)
{
    return FillInserts(std::move(text), std::span<const std::u16string>(inserts.begin(), inserts.size()));
}

std::u16string CountText(std::size_t count)
{
    return Utf8ToUtf16(std::to_string(count));
}

std::u16string CsvNoteLine(const CCsvNote& note, const TextLookup& text)
{
    std::u16string reason =
        FillInserts(text ? text(CsvNoteTextKey(note.reason)) : std::u16string(), {Utf8ToUtf16(CsvNoteInsert(note))});
    const std::u16string where =
        FillInserts(text ? text("STR_CSV_NOTE_LINE") : std::u16string(),
                    {CountText(static_cast<std::size_t>(CsvLineOfKey(note.key))), Utf8ToUtf16(note.key)});
    return where + u" " + reason;
}

std::span<const std::string_view> CsvCountTextKeys()
{
    static constexpr std::string_view kKeys[] = {"STR_CSV_COUNT_FAX_MAIL_ONE",
                                                 "STR_CSV_COUNT_FAX_MAIL",
                                                 "STR_CSV_COUNT_SCAN_ONE",
                                                 "STR_CSV_COUNT_SCAN",
                                                 "STR_CSV_COUNT_GROUP_ONE",
                                                 "STR_CSV_COUNT_GROUP",
                                                 "STR_CSV_COUNT_FAVOURITE_ONE",
                                                 "STR_CSV_COUNT_FAVOURITE"};
    return kKeys;
}

std::u16string CsvReadSummary(const CCsvCounts& counts, const TextLookup& text)
{
    // One of each list is named in the singular: "1 favourite", "2 favourites".
    const auto keys = CsvCountTextKeys();
    auto phrase = [&](std::size_t list, std::size_t count) {
        const std::string_view key = keys[2 * list + (count == 1 ? 0 : 1)];
        return FillInserts(text ? text(key) : std::u16string(), {CountText(count)});
    };
    return FillInserts(
        text ? text("STR_MSG_CSV_READ_COUNTS") : std::u16string(),
        {phrase(0, counts.faxMail), phrase(1, counts.scan), phrase(2, counts.groups), phrase(3, counts.favourites)});
}

std::string CsvNoteInsert(const CCsvNote& note)
{
    if (note.field.empty() && note.member > 0) {
        char member[24];
        std::snprintf(member, sizeof member, "%03d-SP", static_cast<int>(note.member));
        return member;
    }
    return note.field;
}

std::string_view CsvNoteTextKey(CsvNoteReason reason)
{
    switch (reason) {
        case CsvNoteReason::ControlCharacters:
            return "STR_CSV_NOTE_CONTROL_CHARACTERS";
        case CsvNoteReason::TextCut:
            return "STR_CSV_NOTE_TEXT_CUT";
        case CsvNoteReason::PasswordLeftOut:
            return "STR_CSV_NOTE_PASSWORD_LEFT_OUT";
        case CsvNoteReason::MemberOfOtherKind:
            return "STR_CSV_NOTE_MEMBER_OF_OTHER_KIND";
        case CsvNoteReason::KindUnknown:
            return "STR_CSV_NOTE_KIND_UNKNOWN";
        case CsvNoteReason::AddressInvalid:
            return "STR_CSV_NOTE_ADDRESS_INVALID";
        case CsvNoteReason::NameEmptied:
            return "STR_CSV_NOTE_NAME_EMPTIED";
        case CsvNoteReason::FieldDefaulted:
            return "STR_CSV_NOTE_FIELD_DEFAULTED";
        case CsvNoteReason::MemberMissing:
            return "STR_CSV_NOTE_MEMBER_MISSING";
        case CsvNoteReason::TargetInvalid:
            return "STR_CSV_NOTE_TARGET_INVALID";
        case CsvNoteReason::GroupEmpty:
            return "STR_CSV_NOTE_GROUP_EMPTY";
        case CsvNoteReason::FaxNumberMissing:
            return "STR_CSV_NOTE_FAX_NUMBER_MISSING";
        case CsvNoteReason::FaxNumberInvalid:
            return "STR_CSV_NOTE_FAX_NUMBER_INVALID";
        case CsvNoteReason::AddressMissing:
            return "STR_CSV_NOTE_ADDRESS_MISSING";
        case CsvNoteReason::ServerMissing:
            return "STR_CSV_NOTE_SERVER_MISSING";
        case CsvNoteReason::ServerInvalid:
            return "STR_CSV_NOTE_SERVER_INVALID";
        case CsvNoteReason::MemberUnreadable:
            return "STR_CSV_NOTE_MEMBER_UNREADABLE";
        case CsvNoteReason::AddressNotForEditor:
            return "STR_CSV_NOTE_ADDRESS_NOT_FOR_EDITOR";
    }
    return "STR_CSV_NOTE_CONTROL_CHARACTERS";
}

} // namespace qzb
