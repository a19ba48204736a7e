#include "pages/entry_fax_mail.h"

#include "addressbook/group_label.h"
#include "app/string_table.h"
#include "model/input_chars.h"
#include "model/panel_code.h"
#include "model/text_codec.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace qzb {

namespace {

constexpr CEntryOption kSpeedOptions[] = {
    {{}, "STR_DLG_RSDFE_RAD_9_6K", kFaxSpeed9600},
    {{}, "STR_DLG_RSDFE_RAD_14_4K", kFaxSpeed14400},
    {{}, "STR_DLG_RSDFE_RAD_33_6K", kFaxSpeed33600},
};

using F = FaxMailField;
constexpr CEntryFieldDef kFaxMailFields[] = {
    {.id = F::Kind,
     .name = "kind",
     .kind = EntryFieldKind::Choice,
     .textKey = "STR_DLG_RSDFE_TXT_REGISTER_FRAM",
     .options = kFaxMailKindOptions},
    {.id = F::Name,
     .name = "name",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDFE_TXT_NAME",
     .limit = static_cast<std::int32_t>(kMaxEntryNameLength),
     .inputKind = InputKind::Name,
     .frameKey = "STR_DLG_RSDFE_TXT_FAX"},
    {.id = F::Number,
     .name = "number",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDFE_TXT_PHONE_NUMBER",
     .limit = static_cast<std::int32_t>(kMaxFaxNumberLength),
     .inputKind = InputKind::FaxNumber},
    {.id = F::Address,
     .name = "address",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDFE_TXT_ADDRESS",
     .limit = static_cast<std::int32_t>(kMaxEmailAddressLength),
     .inputKind = InputKind::EmailAddress},
    {.id = F::Speed,
     .name = "speed",
     .kind = EntryFieldKind::Choice,
     .textKey = "STR_DLG_RSDFE_TXT_SPEED",
     .options = kSpeedOptions,
     .flags = kEntryInDetails},
    {.id = F::Batch,
     .name = "batch",
     .kind = EntryFieldKind::Time,
     .textKey = "STR_DLG_RSDFE_TXT_BATCH_TIME",
     .flags = kEntryInDetails},
    {.id = F::Groups, .name = "groups", .kind = EntryFieldKind::GroupList, .textKey = "STR_DLG_RSDFE_TXT_ADD_GROUP"},
};

static_assert(IdsAreRows(kFaxMailFields));

using D = FaxDetailsField;
constexpr CEntryFieldDef kDetailsFields[] = {
    {.id = D::Speed,
     .name = "speed",
     .kind = EntryFieldKind::Choice,
     .textKey = "STR_DLG_RSDFE_TXT_SPEED",
     .options = kSpeedOptions},
    {.id = D::Hour,
     .name = "hour",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_RSDFE_TXT_BATCH_TIME",
     .limit = 2,
     .inputKind = InputKind::Digits},
    {.id = D::Minute, .name = "minute", .kind = EntryFieldKind::Text, .limit = 2, .inputKind = InputKind::Digits},
};
static_assert(IdsAreRows(kDetailsFields));

std::u16string TwoDigits(std::int32_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", static_cast<int>(value));
    return Utf8ToUtf16(text);
}

std::int32_t DecimalOrMinusOne(std::u16string_view text)
{
    if (text.empty()) {
        return -1;
    }
    std::int32_t value = 0;
    for (const char16_t c : text) {
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

std::span<const CEntryFieldDef> CFaxDetailsForm::FieldDefs()
{
    return kDetailsFields;
}

std::span<const CEntryFieldDef> CFaxMailEditor::FieldDefs()
{
    return kFaxMailFields;
}

std::string_view CFaxMailEditor::FrameKey(std::int32_t kind)
{
    return kind == kKindMail ? "STR_DLG_RSDFE_TXT_E_MAIL" : "STR_DLG_RSDFE_TXT_FAX";
}

CFaxDetailsForm::CFaxDetailsForm(const CFaxDetails& pending, const CValueStore& store)
    : CEntryForm(kDetailsFields)
    , m_store(store)
{
    const std::int32_t speed = pending.speed;
    Edit(D::Speed).value = speed == kFaxSpeed9600 || speed == kFaxSpeed14400 ? speed : kFaxSpeed33600;
    if (pending.hour >= 0 && pending.hour <= 23) {
        Edit(D::Hour).text = TwoDigits(pending.hour);
    }
    if (pending.minute >= 0 && pending.minute <= 59) {
        Edit(D::Minute).text = TwoDigits(pending.minute);
    }
}

bool CFaxDetailsForm::HourTextAccepted(std::u16string_view text)
{
    return text.size() != 2 || !(text[0] > u'2' || (text[0] == u'2' && text[1] > u'3'));
}

bool CFaxDetailsForm::MinuteTextAccepted(std::u16string_view text)
{
    return text.size() != 2 || text[0] <= u'5';
}

std::u16string CFaxDetailsForm::HourOnLeave(std::u16string_view text)
{
    if (text.size() == 1 && text[0] >= u'0' && text[0] <= u'9') {
        std::u16string padded(1, u'0');
        return padded.append(text);
    }
    return std::u16string(text);
}

bool CFaxDetailsForm::TextAccepted(EntryFieldId id, std::u16string_view text) const
{
    return id == D::Hour ? HourTextAccepted(text) : id == D::Minute ? MinuteTextAccepted(text) : true;
}

EntryFieldId CFaxDetailsForm::FocusAfter(EntryFieldId id) const
{
    if (id == D::Hour && Text(D::Hour).size() == 2) {
        return D::Minute;
    }
    return kNoEntryField;
}

void CFaxDetailsForm::Leave(EntryFieldId id)
{
    if (id == D::Hour) {
        Edit(D::Hour).text = HourOnLeave(Text(D::Hour));
    }
}

CEntryResult CFaxDetailsForm::Ok(CFaxDetails* result) const
{
    for (const EntryFieldId id : {D::Hour, D::Minute}) {
        if (!TextPasses(id, m_store)) {
            return {kMsgInvalidRangeValueThisLang, id};
        }
    }
    const std::u16string& hour = Text(D::Hour);
    const std::u16string& minute = Text(D::Minute);
    if (!hour.empty() && minute.empty()) {
        return {kMsgBatchTimeErr, D::Minute};
    }
    if (hour.empty() && !minute.empty()) {
        return {kMsgBatchTimeErr, D::Hour};
    }
    result->hour = DecimalOrMinusOne(hour);
    result->minute = DecimalOrMinusOne(minute);
    result->speed = Value(D::Speed);
    return {};
}

CFaxMailEditor::CFaxMailEditor(const CAddressBook& book, std::int32_t number, const CEntryEnv& env)
    : CEntryForm(kFaxMailFields)
    , m_env(env)
    , m_number(number)
{
    m_working = book;
    for (const CGroupEntry& group : book.Groups()) {
        if (group.number >= kFirstGroupNumber && group.number <= kLastGroupNumber) {
            m_checked[static_cast<std::size_t>(group.number - 1)] =
                std::binary_search(group.members.begin(), group.members.end(), number);
        }
    }
    CFaxMailEntry entry;
    if (const CFaxMailEntry* found = book.FindFaxMailEntry(number)) {
        entry = *found;
        m_isNew = false;
    }
    Edit(F::Kind).value = entry.kind == kKindMail ? kKindMail : kKindFax;
    Edit(F::Name).text = PanelBytesToText(entry.name.View(), *env.store);
    const std::u16string address = PanelBytesToText(entry.address.View(), *env.store);
    if (Kind() == kKindFax) {
        m_details = {entry.faxSpeed, entry.batchHour, entry.batchMinute};
        Edit(F::Number).text = address;
    } else {
        m_details = {entry.faxSpeed, -1, -1};
        Edit(F::Address).text = address;
    }
    ApplyKindLayout();
    RefreshSpecialTexts();
}

void CFaxMailEditor::ConfirmDetails(const CFaxDetails& details)
{
    m_details = details;
    m_detailsConfirmed = true;
    RefreshSpecialTexts();
}

void CFaxMailEditor::SetKind(std::int32_t kind)
{
    Edit(F::Kind).value = kind;
    ApplyKindLayout();
    for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
        if (GroupChecked(group) && m_working.CheckGroupKind(group, kind) != kOk) {
            SetGroupChecked(group, false);
        }
    }
    RefreshSpecialTexts();
}

bool CFaxMailEditor::GroupChecked(std::int32_t group) const
{
    return group >= kFirstGroupNumber && group <= kLastGroupNumber && m_checked[static_cast<std::size_t>(group - 1)];
}

std::u16string CFaxMailEditor::GroupRowLabel(std::int32_t group) const
{
    return GroupDisplayLabel(m_working.FindGroup(group), group, GroupLabelFormat(m_env), PanelLanguage(*m_env.store));
}

CEntryResult CFaxMailEditor::SetGroupChecked(std::int32_t group, bool checked)
{
    if (group < kFirstGroupNumber || group > kLastGroupNumber) {
        return {kMsgInvalidRangeValue, F::Groups};
    }
    const auto row = static_cast<std::size_t>(group - 1);
    if (!checked) {
        m_checked[row] = false;
        m_working.SetGroupMembership(group, m_number, false, Kind());
        RefreshSpecialTexts();
        return {};
    }
    m_checked[row] = true;
    // Any checked group of the other kind is unchecked, the clicked one included.
    bool wrongKind = false;
    for (std::int32_t other = kFirstGroupNumber; other <= kLastGroupNumber; ++other) {
        if (GroupChecked(other) && m_working.CheckGroupKind(other, Kind()) != kOk) {
            m_checked[static_cast<std::size_t>(other - 1)] = false;
            m_working.SetGroupMembership(other, m_number, false, Kind());
            wrongKind = true;
        }
    }
    CEntryResult result;
    if (wrongKind) {
        result = {Kind() == kKindMail ? kMsgGroupEmailRegistErr : kMsgGroupFaxRegistErr, F::Groups};
    } else if (const MessageCode full = m_working.SetGroupMembership(group, m_number, true, Kind()); full != kOk) {
        m_checked[row] = false;
        result = {full, F::Groups};
    }
    RefreshSpecialTexts();
    return result;
}

CEntryInput CFaxMailEditor::Changed(EntryFieldId id, std::int32_t previous)
{
    if (id == F::Kind) {
        const std::int32_t kind = Value(F::Kind);
        Edit(F::Kind).value = previous;
        if (kind != previous) {
            SetKind(kind);
        }
    } else if (id == F::Speed) {
        CFaxDetails details = m_details;
        details.speed = Value(F::Speed);
        ConfirmDetails(details);
    }
    return {};
}

CEntryInput CFaxMailEditor::ApplyTime(EntryFieldId, std::int32_t hour, std::int32_t minute)
{
    // As the details dialog checks its OK: the batch time whole or not at all.
    if ((hour < 0) != (minute < 0)) {
        return {EntryRefusal::None, {kMsgBatchTimeErr, F::Batch}};
    }
    CFaxDetails details = m_details;
    details.hour = hour;
    details.minute = minute;
    ConfirmDetails(details);
    return {};
}

CEntryInput CFaxMailEditor::ApplyGroups(EntryFieldId, std::span<const std::int32_t> groups)
{
    for (const std::int32_t group : groups) {
        if (group < kFirstGroupNumber || group > kLastGroupNumber) {
            return {EntryRefusal::BadValue};
        }
    }
    for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
        if (GroupChecked(group) && std::find(groups.begin(), groups.end(), group) == groups.end()) {
            SetGroupChecked(group, false);
        }
    }
    for (const std::int32_t group : groups) {
        if (!GroupChecked(group)) {
            if (const CEntryResult result = SetGroupChecked(group, true); !result.Ok()) {
                return {EntryRefusal::None, result};
            }
        }
    }
    return {};
}

CEntryResult CFaxMailEditor::Ok(CAddressBook& book) const
{
    const CValueStore& store = *m_env.store;
    const bool fax = Kind() == kKindFax;
    const std::u16string& address = Text(fax ? F::Number : F::Address);
    if (const CFaxMailCheck check = CheckFaxMailEntry(Kind(), Text(F::Name), address, store); !check.Ok()) {
        return {check.code, check.field == FaxMailCheckField::Name ? F::Name : fax ? F::Number : F::Address};
    }

    CFaxMailEntry entry;
    entry.number = m_number;
    entry.kind = Kind();
    entry.name.Assign(TextToPanelBytes(Text(F::Name), CNameField::kMaxLength));
    entry.address.Assign(TextToPanelBytes(address, CAddressField::kMaxLength));
    if (!fax) {
        entry.faxSpeed = kFaxSpeedNotSet;
    } else if (m_detailsConfirmed || !m_isNew) {
        // An entry keeps its details unless the user changed them: renaming an entry must not
        // drop its batch time. A speed outside 1-3 becomes 33.6K.
        const bool known =
            m_details.speed == kFaxSpeed9600 || m_details.speed == kFaxSpeed14400 || m_details.speed == kFaxSpeed33600;
        entry.faxSpeed = known ? m_details.speed : kFaxSpeed33600;
        entry.batchHour = m_details.hour;
        entry.batchMinute = m_details.minute;
    }
    entry.setDate = PackDeviceDate();

    CAddressBook changed = book;
    // The entry leaves the unchecked groups before its new kind is stored, so a group it leaves
    // never takes that kind over.
    for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
        if (!GroupChecked(group)) {
            if (const MessageCode code = changed.SetGroupMembership(group, m_number, false, entry.kind); code != kOk) {
                return {code, F::Groups};
            }
        }
    }
    if (const MessageCode code = changed.PutFaxMailEntry(entry); code != kOk) {
        return {code, F::Name};
    }
    const std::u16string format = GroupLabelFormat(m_env);
    for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
        if (!GroupChecked(group)) {
            continue;
        }
        const bool created = changed.FindGroup(group) == nullptr;
        if (const MessageCode code = changed.SetGroupMembership(group, m_number, true, entry.kind); code != kOk) {
            return {code, F::Groups};
        }
        // A group made from the check list is named after its row, in the code page as the list shows it.
        if (created) {
            changed.SetGroupName(
                group, ProcessCodePage().EncodeLimited(DefaultGroupLabel(format, group), CNameField::kMaxLength));
        }
    }
    // Groups joined above take the entry's kind too.
    changed.PutFaxMailEntry(entry);
    book.Swap(changed);
    return {};
}

void CFaxMailEditor::ApplyKindLayout()
{
    const bool fax = Kind() == kKindFax;
    Edit(F::Name).frameKey = FrameKey(Kind());
    Show(F::Number, fax);
    Show(F::Speed, fax);
    Show(F::Batch, fax);
    Show(F::Address, !fax);
}

void CFaxMailEditor::RefreshSpecialTexts()
{
    // As the details dialog would check its radios.
    const std::int32_t speed =
        m_details.speed == kFaxSpeed9600 || m_details.speed == kFaxSpeed14400 ? m_details.speed : kFaxSpeed33600;
    Edit(F::Speed).value = speed;
    const bool batch = m_details.hour >= 0 && m_details.hour <= 23 && m_details.minute >= 0 && m_details.minute <= 59;
    Edit(F::Batch).text = batch ? TwoDigits(m_details.hour) + u":" + TwoDigits(m_details.minute) : std::u16string();
    std::vector<std::int32_t>& groups = Edit(F::Groups).list;
    groups.clear();
    for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
        if (GroupChecked(group)) {
            groups.push_back(group);
        }
    }
}

} // namespace qzb
