#include "addressbook/contacts_import.h"

#include "model/text_codec.h"

#include <initializer_list>

namespace qzb {

namespace {

std::u16string Fill(std::u16string text, std::initializer_list<std::u16string> inserts)
{
    std::size_t from = 0;
    for (const std::u16string& insert : inserts) {
        const std::size_t at = text.find(u"%s", from);
        if (at == std::u16string::npos) {
            break;
        }
        text.replace(at, 2, insert);
        from = at + insert.size();
    }
    return text;
}

std::u16string Number(std::size_t number)
{
    return Utf8ToUtf16(std::to_string(number));
}

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
            reason = Fill(format, {note.from, note.to});
            break;
        case ContactNoteReason::NameCut:
            reason = Fill(format, {note.to});
            break;
        case ContactNoteReason::Duplicate:
            reason = Fill(format, {note.from, Number(static_cast<std::size_t>(note.slot))});
            break;
        case ContactNoteReason::ListFull:
            reason = Fill(format, {Number(note.count)});
            break;
        case ContactNoteReason::NotInGroup:
            reason = Fill(format, {Number(static_cast<std::size_t>(note.slot))});
            break;
        default:
            reason = Fill(format, {note.from});
            break;
    }
    if (note.card == 0 || note.card > cards.size()) {
        return reason;
    }
    const std::u16string where =
        Fill(text ? text(kCardKey) : std::u16string(), {Number(note.card), cards[note.card - 1].DisplayName()});
    return where + u" " + reason;
}

std::u16string ContactsPlanSummary(const CContactsPlan& plan, const TextLookup& text)
{
    return Fill(text ? text(kSummaryKey) : std::u16string(), {Number(plan.cards), Number(plan.rows.size())});
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
