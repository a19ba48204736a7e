#include "addressbook/contacts_import.h"

#include "addressbook/report_text.h"
#include "model/text_codec.h"

#include <initializer_list>

namespace qzb {

namespace {

struct CNoteText
{
    ContactNoteReason reason;
    std::string_view key;
};

constexpr CNoteText kNoteTexts[] = {
    {ContactNoteReason::Transliterated, "STR_VCF_NOTE_TRANSLITERATED"},
    {ContactNoteReason::NameCut, "STR_VCF_NOTE_NAME_CUT"},
    {ContactNoteReason::NameLeftOut, "STR_VCF_NOTE_NAME_LEFT_OUT"},
    {ContactNoteReason::NumberChanged, "STR_VCF_NOTE_NUMBER_CHANGED"},
    {ContactNoteReason::NoAddress, "STR_VCF_NOTE_NO_ADDRESS"},
    {ContactNoteReason::AddressInvalid, "STR_VCF_NOTE_ADDRESS_INVALID"},
    {ContactNoteReason::Duplicate, "STR_VCF_NOTE_DUPLICATE"},
    {ContactNoteReason::ListFull, "STR_VCF_NOTE_LIST_FULL"},
    {ContactNoteReason::NotInGroup, "STR_VCF_NOTE_NOT_IN_GROUP"},
    {ContactNoteReason::GroupUnavailable, "STR_VCF_NOTE_GROUP_UNAVAILABLE"},
    {ContactNoteReason::NoEnd, "STR_VCF_NOTE_NO_END"},
    {ContactNoteReason::CutOff, "STR_VCF_NOTE_CUT_OFF"},
    {ContactNoteReason::CharactersLeftOut, "STR_VCF_NOTE_CHARACTERS_LEFT_OUT"},
    {ContactNoteReason::ExtensionLeftOut, "STR_VCF_NOTE_EXTENSION_LEFT_OUT"},
    {ContactNoteReason::PauseLeftOut, "STR_VCF_NOTE_PAUSE_LEFT_OUT"},
    {ContactNoteReason::NumberInLetters, "STR_VCF_NOTE_NUMBER_IN_LETTERS"},
    {ContactNoteReason::NoName, "STR_VCF_NOTE_NO_NAME"},
    {ContactNoteReason::SlotTaken, "STR_VCF_NOTE_SLOT_TAKEN"},
    {ContactNoteReason::CategoryUnavailable, "STR_VCF_NOTE_CATEGORY_UNAVAILABLE"},
    {ContactNoteReason::NotInCategory, "STR_VCF_NOTE_NOT_IN_CATEGORY"},
};

constexpr std::string_view kCardKey = "STR_VCF_NOTE_CARD";
constexpr std::string_view kSummaryKey = "STR_VCF_SUMMARY";

std::string_view NoteKey(ContactNoteReason reason)
{
    for (const CNoteText& row : kNoteTexts) {
        if (row.reason == reason) {
            return row.key;
        }
    }
    return kNoteTexts[0].key;
}

} // namespace

std::u16string ContactNoteLine(const CContactNote& note, const std::vector<CVCard>& cards, const TextLookup& text)
{
    const std::u16string format = text ? text(NoteKey(note.reason)) : std::u16string();
    std::u16string reason;
    switch (note.reason) {
        case ContactNoteReason::Transliterated:
        case ContactNoteReason::NumberChanged:
        case ContactNoteReason::ExtensionLeftOut:
        case ContactNoteReason::PauseLeftOut:
            reason = FillInserts(format, {note.from, note.to});
            break;
        case ContactNoteReason::NoEnd:
        case ContactNoteReason::CutOff:
            reason = format;
            break;
        case ContactNoteReason::NoName:
            reason = FillInserts(format, {CountText(static_cast<std::size_t>(note.slot))});
            break;
        case ContactNoteReason::SlotTaken:
            reason = FillInserts(
                format,
                {CountText(static_cast<std::size_t>(note.wantedSlot)), CountText(static_cast<std::size_t>(note.slot))});
            break;
        case ContactNoteReason::NotInCategory:
            reason = FillInserts(format, {CountText(static_cast<std::size_t>(note.slot)), note.from});
            break;
        case ContactNoteReason::NameCut:
            reason = FillInserts(format, {note.to});
            break;
        case ContactNoteReason::Duplicate:
            reason = FillInserts(format, {note.from, CountText(static_cast<std::size_t>(note.slot))});
            break;
        case ContactNoteReason::ListFull:
            reason = FillInserts(format, {CountText(note.count)});
            break;
        case ContactNoteReason::NotInGroup:
            reason = FillInserts(format, {CountText(static_cast<std::size_t>(note.slot))});
            break;
        default:
            reason = FillInserts(format, {note.from});
            break;
    }
    if (note.card == 0 || note.card > cards.size()) {
        return reason;
    }
    const std::u16string where =
        FillInserts(text ? text(kCardKey) : std::u16string(),
                    {CountText(note.card), ShortenedForNote(cards[note.card - 1].DisplayName())});
    return where + u" " + reason;
}

std::u16string ContactsPlanSummary(const CContactsPlan& plan, const TextLookup& text)
{
    return FillInserts(text ? text(kSummaryKey) : std::u16string(),
                       {CountText(plan.cards), CountText(plan.rows.size())});
}

std::vector<std::string> ContactsTextKeys()
{
    std::vector<std::string> keys{std::string(kCardKey), std::string(kSummaryKey)};
    for (const CNoteText& row : kNoteTexts) {
        keys.emplace_back(row.key);
    }
    return keys;
}

} // namespace qzb
