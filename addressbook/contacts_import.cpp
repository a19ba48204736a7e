#include "addressbook/contacts_import.h"

#include "addressbook/panel_transliteration.h"
#include "base/atomic_file.h"
#include "model/input_chars.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>

namespace qzb {

namespace {

// The longest fax number the entry editor takes.
constexpr std::size_t kMaxFaxNumberLength = 50;

char16_t LowerUnit(char16_t unit)
{
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char16_t a, char16_t b) {
               return LowerUnit(a) == LowerUnit(b);
           });
}

bool IsDialCharacter(char16_t unit)
{
    return (unit >= u'0' && unit <= u'9') || unit == u'*' || unit == u'#' || unit == u'-' || unit == u'P';
}

// Two numbers are the same when they dial the same: hyphens only group digits.
std::u16string DuplicateKey(std::u16string_view address, std::int32_t kind)
{
    std::u16string key;
    for (char16_t unit : address) {
        if (kind == kKindMail) {
            key.push_back(LowerUnit(unit));
        } else if (unit != u'-' && unit != u' ') {
            key.push_back(unit);
        }
    }
    return key;
}

// The preferred of the addresses (the lowest PREF), else the first; null when none qualifies.
const CVCardAddress* Preferred(const std::vector<CVCardAddress>& addresses, bool faxOnly)
{
    const CVCardAddress* best = nullptr;
    for (const CVCardAddress& address : addresses) {
        if (faxOnly && !address.HasType("fax")) {
            continue;
        }
        if (best == nullptr || (address.pref > 0 && (best->pref == 0 || address.pref < best->pref))) {
            best = &address;
        }
    }
    return best;
}

struct CCandidate
{
    std::int32_t kind;
    std::u16string value;
};

class CPlanner
{
public:
    CPlanner(CContactsPlan& plan, const CValueStore& store, const CContactsOptions& options, std::uint16_t setDate)
        : m_plan(plan)
        , m_options(options)
        , m_setDate(setDate)
        , m_language(PanelLanguage(store))
        , m_store(store)
        , m_cursor(std::max(options.firstSlot, kFirstFaxMailNumber))
    {
        for (const CFaxMailEntry& entry : plan.result.FaxMailEntries()) {
            const std::u16string address = PanelBytesToText(entry.address.View(), m_language);
            m_known.emplace(std::pair{entry.kind, DuplicateKey(address, entry.kind)}, entry.number);
        }
    }

    void Card(std::size_t position, const CVCard& card);
    void Group();
    void Finish()
    {
        if (m_leftOut > 0) {
            Note({0, ContactNoteReason::ListFull, {}, {}, 0, m_leftOut});
        }
    }

private:
    void Note(CContactNote note) { m_plan.notes.push_back(std::move(note)); }
    std::optional<std::u16string> Address(std::size_t position, const CCandidate& candidate);
    std::int32_t FindDuplicate(const std::u16string& address, std::int32_t kind) const;
    std::int32_t NextFreeSlot();

    CContactsPlan& m_plan;
    const CContactsOptions& m_options;
    std::uint16_t m_setDate;
    std::int32_t m_language;
    const CValueStore& m_store;
    std::int32_t m_cursor;
    bool m_full = false;
    std::size_t m_leftOut = 0;
    // The numbers and addresses in the book, as compared for duplicates, with their speed dial.
    std::map<std::pair<std::int32_t, std::u16string>, std::int32_t> m_known;
};

std::optional<std::u16string> CPlanner::Address(std::size_t position, const CCandidate& candidate)
{
    if (candidate.kind == kKindFax) {
        const std::u16string number = FaxNumberOfContact(candidate.value, m_options.internationalPrefix);
        if (number != candidate.value) {
            Note({position, ContactNoteReason::NumberChanged, candidate.value, number});
        }
        if (number.empty() || number.size() > kMaxFaxNumberLength ||
            !IsInputTextValid(number, InputKind::FaxNumber, m_store)) {
            Note({position, ContactNoteReason::AddressInvalid, candidate.value});
            return std::nullopt;
        }
        return number;
    }
    std::u16string_view mail = candidate.value;
    if (StartsWithNoCase(mail, u"mailto:")) {
        mail.remove_prefix(7);
    }
    if (mail.empty() || mail.size() > CAddressField::kMaxLength || mail.find(u'@') == std::u16string_view::npos ||
        !IsInputTextValid(mail, InputKind::EmailAddress, m_store)) {
        Note({position, ContactNoteReason::AddressInvalid, candidate.value});
        return std::nullopt;
    }
    return std::u16string(mail);
}

std::int32_t CPlanner::FindDuplicate(const std::u16string& address, std::int32_t kind) const
{
    const auto found = m_known.find({kind, DuplicateKey(address, kind)});
    return found != m_known.end() ? found->second : 0;
}

std::int32_t CPlanner::NextFreeSlot()
{
    for (; m_cursor <= kLastFaxMailNumber; ++m_cursor) {
        if (m_plan.result.FindFaxMailEntry(m_cursor) == nullptr) {
            return m_cursor++;
        }
    }
    return 0;
}

void CPlanner::Card(std::size_t position, const CVCard& card)
{
    std::vector<CCandidate> candidates;
    if (m_options.kinds != ContactKinds::Mail) {
        if (const CVCardAddress* fax = Preferred(card.tels, true)) {
            candidates.push_back({kKindFax, fax->value});
        }
    }
    if (m_options.kinds != ContactKinds::Fax) {
        if (const CVCardAddress* mail = Preferred(card.emails, false)) {
            candidates.push_back({kKindMail, mail->value});
        }
    }
    if (candidates.empty()) {
        Note({position, ContactNoteReason::NoAddress});
        return;
    }
    // Once the list is full the rest is only counted: notes about entries never made would mislead.
    if (m_full) {
        m_leftOut += candidates.size();
        return;
    }
    const std::u16string cardName = card.DisplayName();
    const CPanelNameFit fit = FitNameToPanel(cardName, m_language, CNameField::kMaxLength);
    for (const CNameChange& change : fit.changes) {
        Note({position, ContactNoteReason::Transliterated, change.from, change.to});
    }
    if (!fit.unshown.empty()) {
        Note({position, ContactNoteReason::NameLeftOut, fit.unshown});
    } else if (fit.cut) {
        Note({position, ContactNoteReason::NameCut, cardName, fit.text});
    }
    for (const CCandidate& candidate : candidates) {
        if (m_full) {
            ++m_leftOut;
            continue;
        }
        const std::optional<std::u16string> address = Address(position, candidate);
        if (!address) {
            continue;
        }
        if (const std::int32_t existing = FindDuplicate(*address, candidate.kind); existing != 0) {
            Note({position, ContactNoteReason::Duplicate, *address, {}, existing});
            continue;
        }
        const std::int32_t slot = NextFreeSlot();
        if (slot == 0) {
            m_full = true;
            ++m_leftOut;
            continue;
        }
        CFaxMailEntry entry;
        entry.number = slot;
        entry.kind = candidate.kind;
        entry.faxSpeed = candidate.kind == kKindFax ? kFaxSpeed33600 : kFaxSpeedNotSet;
        entry.setDate = m_setDate;
        entry.name.Assign(TextToPanelBytes(fit.text, CNameField::kMaxLength));
        entry.address.Assign(TextToPanelBytes(*address, CAddressField::kMaxLength));
        m_plan.result.PutFaxMailEntry(entry);
        m_known.emplace(std::pair{candidate.kind, DuplicateKey(*address, candidate.kind)}, slot);
        m_plan.rows.push_back({position, slot, candidate.kind, cardName, fit.text, *address});
    }
}

void CPlanner::Group()
{
    if (m_options.group.empty() || m_plan.rows.empty()) {
        return;
    }
    CAddressBook& book = m_plan.result;
    const CPanelNameFit fit = FitNameToPanel(m_options.group, m_language, CNameField::kMaxLength);
    const std::string panelName = TextToPanelBytes(fit.text, CNameField::kMaxLength);
    std::int32_t number = 0;
    if (!fit.unshown.empty() || panelName.empty()) {
        Note({0, ContactNoteReason::GroupUnavailable, m_options.group});
        return;
    }
    for (const CGroupEntry& group : book.Groups()) {
        if (group.name.View() == panelName) {
            number = group.number;
            break;
        }
    }
    if (number == 0) {
        for (std::int32_t free = kFirstGroupNumber; free <= kLastGroupNumber && number == 0; ++free) {
            number = book.FindGroup(free) == nullptr ? free : 0;
        }
        if (number == 0) {
            Note({0, ContactNoteReason::GroupUnavailable, m_options.group});
            return;
        }
        book.SetGroupName(number, panelName, m_setDate);
        m_plan.groupCreated = true;
    }
    m_plan.group = number;
    // A group dials one kind: the first entry decides a new group's.
    for (const CContactRow& row : m_plan.rows) {
        if (book.CheckGroupAdmission(number, row.kind) != kOk ||
            book.SetGroupMembership(number, row.slot, true, row.kind, m_setDate) != kOk) {
            Note({row.card, ContactNoteReason::NotInGroup, {}, {}, row.slot});
        }
    }
}

} // namespace

std::u16string FaxNumberOfContact(std::u16string_view number, std::u16string_view internationalPrefix)
{
    if (StartsWithNoCase(number, u"tel:")) {
        number.remove_prefix(4);
        number = number.substr(0, number.find(u';')); // ";ext=", ";phone-context=" ...
    }
    std::u16string result;
    bool first = true;
    for (char16_t unit : number) {
        if (unit == u'+' && first) {
            for (char16_t prefixUnit : internationalPrefix) {
                if (IsDialCharacter(prefixUnit)) {
                    result.push_back(prefixUnit);
                }
            }
        } else if (IsDialCharacter(unit)) {
            result.push_back(unit);
        }
        first = first && (unit == u' ' || unit == u'\t');
    }
    return result;
}

CContactsPlan PlanContactsImport(const std::vector<CVCard>& cards,
                                 const CAddressBook& book,
                                 const CValueStore& store,
                                 const CContactsOptions& options,
                                 std::uint16_t setDate)
{
    CContactsPlan plan;
    plan.cards = cards.size();
    plan.result = book;
    CPlanner planner(plan, store, options, setDate);
    for (std::size_t i = 0; i < cards.size(); ++i) {
        planner.Card(i + 1, cards[i]);
    }
    planner.Finish();
    planner.Group();
    return plan;
}

void ApplyContactsPlan(CContactsPlan& plan, CAddressBook& book)
{
    book.Swap(plan.result);
    plan.result = book;
}

MessageCode ReadContactsFile(const std::filesystem::path& path, std::vector<CVCard>& cards, int* systemError)
{
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(path, bytes) != ReadFileResult::Ok) {
        if (systemError) {
            *systemError = errno;
        }
        return kMsgOpenFileError;
    }
    cards = ParseVCards(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return kOk;
}

} // namespace qzb
