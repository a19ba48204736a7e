#include "addressbook/contacts_import.h"

#include "addressbook/entry_checks.h"
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
#include <set>
#include <system_error>

namespace qzb {

namespace {

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

bool IsDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

bool IsLetter(char16_t unit)
{
    return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

// Characters that only group the digits of a number for the eye.
bool IsGrouping(char16_t unit)
{
    return unit == u' ' || unit == u'\t' || unit == u'(' || unit == u')' || unit == u'[' || unit == u']' ||
           unit == u'.' || unit == u'/' || unit == 0x00A0 || (unit >= 0x2000 && unit <= 0x200A) || unit == 0x202F ||
           (unit >= 0x2010 && unit <= 0x2015);
}

std::u16string TrimmedBlanks(std::u16string_view text)
{
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) {
        text.remove_suffix(1);
    }
    return std::u16string(text);
}

// The length of the word at i when it starts an extension ("x", "ext", "extn", "extension"), else 0.
std::size_t ExtensionWordLength(std::u16string_view text, std::size_t i)
{
    std::size_t end = i;
    while (end < text.size() && IsLetter(text[end])) {
        ++end;
    }
    std::u16string word;
    for (std::size_t k = i; k < end; ++k) {
        word.push_back(LowerUnit(text[k]));
    }
    if (word == u"x" || word == u"ext" || word == u"extn" || word == u"extension") {
        return end - i;
    }
    return 0;
}

bool IsPauseWord(std::u16string_view text, std::size_t i, std::size_t& length)
{
    length = 0;
    while (i + length < text.size() && IsLetter(text[i + length])) {
        const char16_t lower = LowerUnit(text[i + length]);
        if (lower != u'p' && lower != u'w') {
            return false;
        }
        ++length;
    }
    return length > 0;
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

// The addresses in the order they are tried: the preferred ones (lowest PREF first), then the
// others in the order of the card.
std::vector<const CVCardAddress*> InPreferenceOrder(const std::vector<CVCardAddress>& addresses, bool faxOnly)
{
    std::vector<const CVCardAddress*> ordered;
    for (const CVCardAddress& address : addresses) {
        if (!faxOnly || address.HasType("fax")) {
            ordered.push_back(&address);
        }
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const CVCardAddress* a, const CVCardAddress* b) {
        const std::int32_t left = a->pref > 0 ? a->pref : 1000;
        const std::int32_t right = b->pref > 0 ? b->pref : 1000;
        return left < right;
    });
    return ordered;
}

// The characters as a note lists them: "И", "в", ...
std::u16string QuotedList(const CPanelNameFit& fit)
{
    std::u16string list;
    for (const std::u16string& unit : fit.unshown) {
        list += (list.empty() ? u"\"" : u", \"") + unit + u"\"";
    }
    if (fit.moreUnshown) {
        list += u", ...";
    }
    return list;
}

struct CCandidate
{
    std::int32_t kind;
    std::u16string value;
};

class CPlanner
{
public:
    CPlanner(CContactsPlan& plan,
             const std::vector<CVCard>& cards,
             const CValueStore& store,
             const CContactsOptions& options,
             std::uint16_t setDate)
        : m_plan(plan)
        , m_cards(cards)
        , m_options(options)
        , m_setDate(setDate)
        , m_language(PanelLanguage(store))
        , m_store(store)
        , m_pauseAllowed(IsInputTextValid(u"0P", InputKind::FaxNumber, store))
        , m_cursor(std::max(options.firstSlot, kFirstFaxMailNumber))
    {
        for (const CFaxMailEntry& entry : plan.result.FaxMailEntries()) {
            const std::u16string address = PanelBytesToText(entry.address.View(), m_language);
            m_known.emplace(std::pair{entry.kind, DuplicateKey(address, entry.kind)}, entry.number);
        }
        // The speed dials the cards name are kept for them: a card before them without one must
        // not take them.
        for (const CVCard& card : cards) {
            if (card.speedDial >= m_cursor && plan.result.FindFaxMailEntry(card.speedDial) == nullptr) {
                m_claimed.insert(card.speedDial);
            }
        }
    }

    void Card(std::size_t position, const CVCard& card);
    void Damage(const CVCardDamage& damage)
    {
        Note({damage.card, damage.damage == VCardDamage::NoEnd ? ContactNoteReason::NoEnd : ContactNoteReason::CutOff});
    }
    void Group();
    void CardGroups();
    void Finish()
    {
        if (m_leftOut > 0) {
            Note({0, ContactNoteReason::ListFull, {}, {}, 0, m_leftOut});
        }
    }

private:
    void Note(CContactNote note)
    {
        note.from = ShortenedForNote(note.from);
        note.to = ShortenedForNote(note.to);
        m_plan.notes.push_back(std::move(note));
    }
    std::optional<std::u16string> FaxNumber(std::size_t position, const std::vector<const CVCardAddress*>& numbers);
    std::optional<std::u16string> MailAddress(std::size_t position, const CVCardAddress& address);
    bool Passes(std::int32_t kind, std::u16string_view address) const
    {
        const std::size_t limit = kind == kKindFax ? kMaxFaxNumberLength : kMaxEmailAddressLength;
        return address.size() <= limit && CheckFaxMailEntry(kind, {}, address, m_store).Ok();
    }
    std::int32_t FindDuplicate(const std::u16string& address, std::int32_t kind) const;
    std::int32_t SlotFor(std::int32_t wanted, std::size_t position);
    std::int32_t NextFreeSlot();
    std::int32_t GroupByName(const std::string& panelName) const;
    std::int32_t FreeGroup() const;
    bool Join(const CContactRow& row, std::int32_t group, const std::string& panelName);

    CContactsPlan& m_plan;
    const std::vector<CVCard>& m_cards;
    const CContactsOptions& m_options;
    std::uint16_t m_setDate;
    std::int32_t m_language;
    const CValueStore& m_store;
    bool m_pauseAllowed;
    std::int32_t m_cursor;
    bool m_full = false;
    std::size_t m_leftOut = 0;
    std::set<std::int32_t> m_claimed;
    // The numbers and addresses in the book, as compared for duplicates, with their speed dial.
    std::map<std::pair<std::int32_t, std::u16string>, std::int32_t> m_known;
};

// The first number that passes; a note for each one left out on the way. The note that a number
// was written otherwise comes only for the number that is stored.
std::optional<std::u16string> CPlanner::FaxNumber(std::size_t position,
                                                  const std::vector<const CVCardAddress*>& numbers)
{
    for (const CVCardAddress* candidate : numbers) {
        const std::u16string& value = candidate->value;
        const CFaxNumberFit fit = FitFaxNumber(value, m_options.internationalPrefix, m_pauseAllowed);
        if (fit.letters) {
            Note({position, ContactNoteReason::NumberInLetters, value});
            continue;
        }
        if (fit.number.empty() || !Passes(kKindFax, fit.number)) {
            Note({position, ContactNoteReason::AddressInvalid, value});
            continue;
        }
        if (!fit.extension.empty()) {
            Note({position, ContactNoteReason::ExtensionLeftOut, fit.extension, fit.number});
        }
        if (!fit.pause.empty()) {
            Note({position, ContactNoteReason::PauseLeftOut, fit.pause, fit.number});
        }
        if (fit.number != value) {
            Note({position, ContactNoteReason::NumberChanged, value, fit.number});
        }
        return fit.number;
    }
    return std::nullopt;
}

std::optional<std::u16string> CPlanner::MailAddress(std::size_t position, const CVCardAddress& address)
{
    std::u16string_view mail = address.value;
    if (StartsWithNoCase(mail, u"mailto:")) {
        mail.remove_prefix(7);
    }
    if (!Passes(kKindMail, mail)) {
        Note({position, ContactNoteReason::AddressInvalid, address.value});
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
        if (m_plan.result.FindFaxMailEntry(m_cursor) == nullptr && m_claimed.count(m_cursor) == 0) {
            return m_cursor++;
        }
    }
    // Only the claimed ones are left: they go to whoever comes.
    for (std::int32_t slot = kFirstFaxMailNumber; slot <= kLastFaxMailNumber; ++slot) {
        if (slot >= std::max(m_options.firstSlot, kFirstFaxMailNumber) &&
            m_plan.result.FindFaxMailEntry(slot) == nullptr) {
            m_claimed.erase(slot);
            return slot;
        }
    }
    return 0;
}

// The card's own speed dial while it is free, else the next free one with a note. A speed dial
// below the first one the user lets the import fill is not the card's to take.
std::int32_t CPlanner::SlotFor(std::int32_t wanted, std::size_t position)
{
    if (wanted < std::max(m_options.firstSlot, kFirstFaxMailNumber)) {
        wanted = 0;
    }
    if (wanted != 0 && m_plan.result.FindFaxMailEntry(wanted) == nullptr) {
        m_claimed.erase(wanted);
        return wanted;
    }
    const std::int32_t slot = NextFreeSlot();
    if (wanted != 0 && slot != 0) {
        CContactNote note{position, ContactNoteReason::SlotTaken};
        note.slot = slot;
        note.wantedSlot = wanted;
        Note(std::move(note));
    }
    return slot;
}

void CPlanner::Card(std::size_t position, const CVCard& card)
{
    std::vector<const CVCardAddress*> faxNumbers;
    const CVCardAddress* mail = nullptr;
    if (m_options.kinds != ContactKinds::Mail) {
        faxNumbers = InPreferenceOrder(card.tels, true);
    }
    if (m_options.kinds != ContactKinds::Fax) {
        const std::vector<const CVCardAddress*> mails = InPreferenceOrder(card.emails, false);
        mail = mails.empty() ? nullptr : mails.front();
    }
    const std::size_t wanted = (faxNumbers.empty() ? 0 : 1) + (mail ? 1 : 0);
    if (wanted == 0) {
        Note({position, ContactNoteReason::NoAddress});
        return;
    }
    // Once the list is full the rest is only counted: notes about entries never made would mislead.
    if (m_full) {
        m_leftOut += wanted;
        return;
    }
    const std::u16string cardName = card.DisplayName();
    const CPanelNameFit fit = FitNameToPanel(cardName, m_language, kMaxEntryNameLength);
    for (const CNameChange& change : fit.changes) {
        Note({position, ContactNoteReason::Transliterated, change.from, change.to});
    }
    if (fit.text.empty() && !fit.unshown.empty()) {
        Note({position, ContactNoteReason::NameLeftOut, QuotedList(fit)});
    } else if (!fit.unshown.empty()) {
        Note({position, ContactNoteReason::CharactersLeftOut, QuotedList(fit)});
    }
    if (fit.cut) {
        Note({position, ContactNoteReason::NameCut, cardName, fit.text});
    }
    std::vector<CCandidate> candidates;
    if (!faxNumbers.empty()) {
        if (std::optional<std::u16string> number = FaxNumber(position, faxNumbers)) {
            candidates.push_back({kKindFax, std::move(*number)});
        }
    }
    if (mail) {
        if (std::optional<std::u16string> address = MailAddress(position, *mail)) {
            candidates.push_back({kKindMail, std::move(*address)});
        }
    }
    bool slotUsed = false;
    for (const CCandidate& candidate : candidates) {
        if (m_full) {
            ++m_leftOut;
            continue;
        }
        if (const std::int32_t existing = FindDuplicate(candidate.value, candidate.kind); existing != 0) {
            Note({position, ContactNoteReason::Duplicate, candidate.value, {}, existing});
            continue;
        }
        // The card's own speed dial goes to its first entry.
        const std::int32_t slot = SlotFor(slotUsed ? 0 : card.speedDial, position);
        slotUsed = true;
        if (slot == 0) {
            m_full = true;
            ++m_leftOut;
            continue;
        }
        if (fit.text.empty() && fit.unshown.empty()) {
            Note({position, ContactNoteReason::NoName, {}, {}, slot});
        }
        CFaxMailEntry entry;
        entry.number = slot;
        entry.kind = candidate.kind;
        entry.faxSpeed = candidate.kind == kKindFax ? kFaxSpeed33600 : kFaxSpeedNotSet;
        entry.setDate = m_setDate;
        entry.name.Assign(TextToPanelBytes(fit.text, CNameField::kMaxLength));
        entry.address.Assign(TextToPanelBytes(candidate.value, CAddressField::kMaxLength));
        m_plan.result.PutFaxMailEntry(entry);
        m_known.emplace(std::pair{candidate.kind, DuplicateKey(candidate.value, candidate.kind)}, slot);
        m_plan.rows.push_back({position, slot, candidate.kind, ShortenedForNote(cardName), fit.text, candidate.value});
    }
}

std::int32_t CPlanner::GroupByName(const std::string& panelName) const
{
    for (const CGroupEntry& group : m_plan.result.Groups()) {
        if (!panelName.empty() && group.name.View() == panelName) {
            return group.number;
        }
    }
    return 0;
}

std::int32_t CPlanner::FreeGroup() const
{
    for (std::int32_t number = kFirstGroupNumber; number <= kLastGroupNumber; ++number) {
        if (m_plan.result.FindGroup(number) == nullptr) {
            return number;
        }
    }
    return 0;
}

// Puts the row's entry into the group, made with the name when it does not exist yet; false when
// the group's kind or size refuses it (a group made for it never stays empty).
bool CPlanner::Join(const CContactRow& row, std::int32_t group, const std::string& panelName)
{
    CAddressBook& book = m_plan.result;
    const bool made = book.FindGroup(group) == nullptr;
    if (book.CheckGroupAdmission(group, row.kind) != kOk ||
        book.SetGroupMembership(group, row.slot, true, row.kind, m_setDate) != kOk) {
        return false;
    }
    if (made && !panelName.empty()) {
        book.SetGroupName(group, panelName, m_setDate);
    }
    return true;
}

void CPlanner::Group()
{
    if (m_options.group.empty() || m_plan.rows.empty()) {
        return;
    }
    CAddressBook& book = m_plan.result;
    const CPanelNameFit fit = FitNameToPanel(m_options.group, m_language, kMaxEntryNameLength);
    const std::string panelName = TextToPanelBytes(fit.text, CNameField::kMaxLength);
    if (!fit.unshown.empty() || panelName.empty()) {
        Note({0, ContactNoteReason::GroupUnavailable, m_options.group});
        return;
    }
    std::int32_t number = GroupByName(panelName);
    if (number == 0) {
        number = FreeGroup();
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

// The groups each card names: the numbered groups of the export (X-QZB-GROUP) go back under their
// number while it is free or holds a group of the same name; CATEGORIES join the group of that
// name, made in a free group number when none has it.
void CPlanner::CardGroups()
{
    for (const CContactRow& row : m_plan.rows) {
        const CVCard& card = m_cards[row.card - 1];
        std::vector<CVCardGroup> wanted = card.groups;
        if (wanted.empty()) {
            for (const std::u16string& category : card.categories) {
                wanted.push_back({0, category});
            }
        }
        std::set<std::int32_t> joined;
        for (const CVCardGroup& group : wanted) {
            const CPanelNameFit fit = FitNameToPanel(group.name, m_language, kMaxEntryNameLength);
            const std::string panelName = TextToPanelBytes(fit.text, CNameField::kMaxLength);
            std::int32_t number = 0;
            if (group.number != 0) {
                const CGroupEntry* numbered = m_plan.result.FindGroup(group.number);
                if ((numbered == nullptr && (panelName.empty() || GroupByName(panelName) == 0)) ||
                    (numbered != nullptr && numbered->name.View() == panelName)) {
                    number = group.number;
                }
            }
            if (number == 0 && !panelName.empty()) {
                number = GroupByName(panelName);
                number = number != 0 ? number : FreeGroup();
            }
            if (number == 0 || (!fit.unshown.empty() && fit.text.empty())) {
                Note({row.card, ContactNoteReason::CategoryUnavailable, group.name});
                continue;
            }
            if (!joined.insert(number).second) {
                continue;
            }
            if (!Join(row, number, panelName)) {
                Note({row.card, ContactNoteReason::NotInCategory, group.name, {}, row.slot});
            }
        }
    }
}

} // namespace

std::u16string ShortenedForNote(std::u16string_view text)
{
    if (text.size() <= kMaxNoteTextLength) {
        return std::u16string(text);
    }
    std::size_t cut = kMaxNoteTextLength;
    // A surrogate pair is not cut in two.
    if (text[cut - 1] >= 0xD800 && text[cut - 1] < 0xDC00) {
        --cut;
    }
    std::u16string shortened;
    shortened.reserve(cut + 3);
    shortened.append(text.data(), cut);
    shortened.append(3, u'.');
    return shortened;
}

CFaxNumberFit FitFaxNumber(std::u16string_view value, std::u16string_view internationalPrefix, bool pauseAllowed)
{
    CFaxNumberFit fit;
    std::u16string_view number = value;
    if (StartsWithNoCase(number, u"tel:")) {
        number.remove_prefix(4);
        // ";ext=" names the extension; ";phone-context=", ";isub=" and the like say nothing to dial.
        for (std::size_t semicolon = number.find(u';'); semicolon != std::u16string_view::npos;) {
            const std::size_t next = number.find(u';', semicolon + 1);
            const std::u16string_view param = number.substr(semicolon + 1, next - semicolon - 1);
            if (StartsWithNoCase(param, u"ext=")) {
                fit.extension = TrimmedBlanks(param);
            }
            semicolon = next;
        }
        number = number.substr(0, number.find(u';'));
    }
    std::u16string result;
    std::size_t digits = 0;
    bool international = false;
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char16_t unit = number[i];
        if (IsDigit(unit)) {
            result.push_back(unit);
            ++digits;
            continue;
        }
        if (unit == u'*' || unit == u'#' || unit == u'-') {
            result.push_back(unit);
            continue;
        }
        if (unit == u'+' && result.empty() && !international) {
            for (char16_t prefixUnit : internationalPrefix) {
                if (IsDigit(prefixUnit)) {
                    result.push_back(prefixUnit);
                }
            }
            international = true;
            continue;
        }
        // "+44 (0)20 ...": the trunk prefix in brackets is not dialled from abroad.
        if (unit == u'(' && international && digits > 0) {
            std::size_t k = i + 1;
            while (k < number.size() && number[k] == u' ') {
                ++k;
            }
            if (k < number.size() && number[k] == u'0') {
                ++k;
                while (k < number.size() && number[k] == u' ') {
                    ++k;
                }
                if (k < number.size() && number[k] == u')') {
                    i = k;
                    continue;
                }
            }
        }
        if (IsGrouping(unit)) {
            continue;
        }
        // An extension ("x89", "ext. 89", ";ext=89") is not dialled with the number.
        if ((unit == u';' || IsLetter(unit)) && digits > 0 &&
            ExtensionWordLength(number, unit == u';' ? i + 1 : i) > 0) {
            fit.extension = TrimmedBlanks(number.substr(i));
            break;
        }
        std::size_t wordLength = 1;
        if ((unit == u',' || unit == u';' || IsPauseWord(number, i, wordLength)) && digits > 0) {
            if (!pauseAllowed) {
                fit.pause = TrimmedBlanks(number.substr(i));
                break;
            }
            result.append(wordLength, u'P');
            i += wordLength - 1;
            continue;
        }
        // A word, a "+" inside the number, anything else: no number the device could dial.
        fit.letters = IsLetter(unit);
        return fit;
    }
    // At least one digit of the number itself, beyond the international prefix.
    if (digits > 0) {
        fit.number = std::move(result);
    }
    return fit;
}

std::u16string FaxNumberOfContact(std::u16string_view number, std::u16string_view internationalPrefix)
{
    return FitFaxNumber(number, internationalPrefix, true).number;
}

CContactsPlan PlanContactsImport(const CVCardFile& file,
                                 const CAddressBook& book,
                                 const CValueStore& store,
                                 const CContactsOptions& options,
                                 std::uint16_t setDate)
{
    CContactsPlan plan;
    plan.cards = file.cards.size();
    plan.result = book;
    CPlanner planner(plan, file.cards, store, options, setDate);
    auto damage = file.damages.begin();
    for (std::size_t i = 0; i < file.cards.size(); ++i) {
        for (; damage != file.damages.end() && damage->card <= i + 1; ++damage) {
            planner.Damage(*damage);
        }
        planner.Card(i + 1, file.cards[i]);
    }
    planner.Finish();
    planner.CardGroups();
    planner.Group();
    return plan;
}

CContactsPlan PlanContactsImport(const std::vector<CVCard>& cards,
                                 const CAddressBook& book,
                                 const CValueStore& store,
                                 const CContactsOptions& options,
                                 std::uint16_t setDate)
{
    CVCardFile file;
    file.cards = cards;
    return PlanContactsImport(file, book, store, options, setDate);
}

void ApplyContactsPlan(CContactsPlan& plan, CAddressBook& book)
{
    book.Swap(plan.result);
    plan.result = book;
}

MessageCode ReadContactsFile(const std::filesystem::path& path, CVCardFile& file, int* systemError)
{
    // A file over the limit is refused by its size, before a byte of it is read.
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) &&
        std::filesystem::file_size(path, error) > kMaxContactsFileSize && !error) {
        if (systemError) {
            *systemError = EFBIG;
        }
        return kMsgOpenFileError;
    }
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(path, bytes, kMaxContactsFileSize) != ReadFileResult::Ok) {
        if (systemError) {
            *systemError = errno;
        }
        return kMsgOpenFileError;
    }
    file = ReadVCardFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return kOk;
}

} // namespace qzb
