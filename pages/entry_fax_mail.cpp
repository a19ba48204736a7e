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

constexpr CEntryOption kKindOptions[] = {
    {"fax", "STR_DLG_RSDFE_RAD_FAX", kKindFax},
    {"email", "STR_DLG_RSDFE_RAD_E_MAIL", kKindMail},
};

constexpr CEntryOption kSpeedOptions[] = {
    {{}, "STR_DLG_RSDFE_RAD_9_6K", kFaxSpeed9600},
    {{}, "STR_DLG_RSDFE_RAD_14_4K", kFaxSpeed14400},
    {{}, "STR_DLG_RSDFE_RAD_33_6K", kFaxSpeed33600},
};

constexpr CEntryFieldDef kFaxMailFields[] = {
    {"kind", EntryFieldKind::Choice, "STR_DLG_RSDFE_TXT_REGISTER_FRAM", 0, 0, kKindOptions},
    {"name", EntryFieldKind::Text, "STR_DLG_RSDFE_TXT_NAME", 20, 6},
    {"number", EntryFieldKind::Text, "STR_DLG_RSDFE_TXT_PHONE_NUMBER", 50, 5},
    {"address", EntryFieldKind::Text, "STR_DLG_RSDFE_TXT_ADDRESS", 64, 7},
    {"speed", EntryFieldKind::Special, "STR_DLG_RSDFE_TXT_SPEED"},
    {"batch", EntryFieldKind::Special, "STR_DLG_RSDFE_TXT_BATCH_TIME"},
    {"groups", EntryFieldKind::Special, "STR_DLG_RSDFE_TXT_ADD_GROUP"},
};

constexpr CEntryFieldDef kDetailsFields[] = {
    {"speed", EntryFieldKind::Choice, "STR_DLG_RSDFE_TXT_SPEED", 0, 0, kSpeedOptions},
    {"hour", EntryFieldKind::Text, "STR_DLG_RSDFE_TXT_BATCH_TIME", 2, 4},
    {"minute", EntryFieldKind::Text, {}, 2, 4},
};

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

// "1,4,7" as group numbers; false on anything else.
bool ParseGroupList(std::u16string_view text, std::vector<std::int32_t>* groups)
{
    std::int32_t value = -1;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == u',') {
            if (value < kFirstGroupNumber || value > kLastGroupNumber) {
                return text.empty();
            }
            groups->push_back(value);
            value = -1;
        } else if (text[i] >= u'0' && text[i] <= u'9' && value < 100) {
            value = (value < 0 ? 0 : value * 10) + (text[i] - u'0');
        } else {
            return false;
        }
    }
    return true;
}

std::u16string GroupLabelFormat(const CEntryEnv& env)
{
    const std::u16string* format = env.strings ? env.strings->Find(kGroupLabelKey) : nullptr;
    return format && !format->empty() ? *format : std::u16string(u"Group %02d");
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
    Field("speed").value = speed == kFaxSpeed9600 || speed == kFaxSpeed14400 ? speed : kFaxSpeed33600;
    if (pending.hour >= 0 && pending.hour <= 23) {
        Field("hour").text = TwoDigits(pending.hour);
    }
    if (pending.minute >= 0 && pending.minute <= 59) {
        Field("minute").text = TwoDigits(pending.minute);
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

CEntryInput CFaxDetailsForm::SetField(std::string_view name, std::u16string_view value)
{
    CEntryField* field = Find(name) ? &Field(name) : nullptr;
    if (field == nullptr) {
        return {EntryRefusal::UnknownField};
    }
    if (name == "speed") {
        return {ApplyValue(*field, value)};
    }
    if (value.size() > 2) {
        return {EntryRefusal::TooLong};
    }
    // Typed into an emptied field, one character at a time; a refused character is not taken.
    std::u16string typed;
    for (const char16_t c : value) {
        const std::u16string next = typed + c;
        if (name == "hour" ? HourTextAccepted(next) : MinuteTextAccepted(next)) {
            typed = next;
        }
    }
    field->text = name == "hour" ? HourOnLeave(typed) : typed;
    return {};
}

CEntryResult CFaxDetailsForm::Ok(CFaxDetails* result) const
{
    for (const std::string_view name : {"hour", "minute"}) {
        if (!TextPasses(name, m_store)) {
            return {kMsgInvalidRangeValueThisLang, name};
        }
    }
    const std::u16string& hour = Text("hour");
    const std::u16string& minute = Text("minute");
    if (!hour.empty() && minute.empty()) {
        return {kMsgBatchTimeErr, "minute"};
    }
    if (hour.empty() && !minute.empty()) {
        return {kMsgBatchTimeErr, "hour"};
    }
    result->hour = DecimalOrMinusOne(hour);
    result->minute = DecimalOrMinusOne(minute);
    result->speed = Value("speed");
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
    Field("kind").value = entry.kind == kKindMail ? kKindMail : kKindFax;
    Field("name").text = PanelBytesToText(entry.name.View(), *env.store);
    const std::u16string address = PanelBytesToText(entry.address.View(), *env.store);
    if (Kind() == kKindFax) {
        m_details = {entry.faxSpeed, entry.batchHour, entry.batchMinute};
        Field("number").text = address;
    } else {
        m_details = {entry.faxSpeed, -1, -1};
        Field("address").text = address;
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
    Field("kind").value = kind;
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
        return {kMsgInvalidRangeValue, "groups"};
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
        result = {Kind() == kKindMail ? kMsgGroupEmailRegistErr : kMsgGroupFaxRegistErr, "groups"};
    } else if (const MessageCode full = m_working.SetGroupMembership(group, m_number, true, Kind()); full != kOk) {
        m_checked[row] = false;
        result = {full, "groups"};
    }
    RefreshSpecialTexts();
    return result;
}

CEntryInput CFaxMailEditor::SetField(std::string_view name, std::u16string_view value)
{
    if (!Find(name)) {
        return {EntryRefusal::UnknownField};
    }
    CEntryField& field = Field(name);
    if (!field.visible) {
        return {EntryRefusal::Hidden};
    }
    if (name == "kind") {
        const std::int32_t before = Kind();
        const EntryRefusal refusal = ApplyValue(field, value);
        const std::int32_t after = field.value;
        field.value = before;
        if (refusal == EntryRefusal::None && after != before) {
            SetKind(after);
        }
        return {refusal};
    }
    if (name == "speed" || name == "batch") {
        CFaxDetailsForm details(m_details, *m_env.store);
        if (name == "speed") {
            if (const CEntryInput input = details.SetField("speed", value); input.refusal != EntryRefusal::None) {
                return input;
            }
        } else {
            const std::size_t colon = value.find(u':');
            if (!value.empty() && colon == std::u16string_view::npos) {
                return {EntryRefusal::BadValue};
            }
            const std::u16string_view hour = value.substr(0, colon);
            const std::u16string_view minute = value.empty() ? std::u16string_view() : value.substr(colon + 1);
            for (const auto& [part, text] : {std::pair{"hour", hour}, std::pair{"minute", minute}}) {
                if (const CEntryInput input = details.SetField(part, text); input.refusal != EntryRefusal::None) {
                    return input;
                }
            }
        }
        CFaxDetails result;
        if (const CEntryResult check = details.Ok(&result); !check.Ok()) {
            return {EntryRefusal::None, {check.code, "batch"}};
        }
        ConfirmDetails(result);
        return {};
    }
    if (name == "groups") {
        std::vector<std::int32_t> groups;
        if (!ParseGroupList(value, &groups)) {
            return {EntryRefusal::BadValue};
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
    return {ApplyValue(field, value)};
}

CEntryResult CFaxMailEditor::Ok(CAddressBook& book) const
{
    const CValueStore& store = *m_env.store;
    const bool fax = Kind() == kKindFax;
    if (!TextPasses("name", store)) {
        return {kMsgInvalidRangeValueThisLang, "name"};
    }
    const std::u16string& address = Text(fax ? "number" : "address");
    if (fax) {
        if (!TextPasses("number", store)) {
            return {kMsgInvalidRangeValueThisLang, "number"};
        }
        // "P" is the dial pause: it cannot open a number.
        if (address.empty() || address.front() == u'P') {
            return {kMsgNumberErr, "number"};
        }
    } else {
        if (!TextPasses("address", store)) {
            return {kMsgInvalidRangeValueThisLang, "address"};
        }
        if (!IsEmailSyntaxValid(address)) {
            return {kMsgEmailAddressErr, "address"};
        }
    }

    CFaxMailEntry entry;
    entry.number = m_number;
    entry.kind = Kind();
    entry.name.Assign(TextToPanelBytes(Text("name"), CNameField::kMaxLength));
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
                return {code, "groups"};
            }
        }
    }
    if (const MessageCode code = changed.PutFaxMailEntry(entry); code != kOk) {
        return {code, "name"};
    }
    const std::u16string format = GroupLabelFormat(m_env);
    for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
        if (!GroupChecked(group)) {
            continue;
        }
        const bool created = changed.FindGroup(group) == nullptr;
        if (const MessageCode code = changed.SetGroupMembership(group, m_number, true, entry.kind); code != kOk) {
            return {code, "groups"};
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
    Show("number", fax);
    Show("speed", fax);
    Show("batch", fax);
    Show("address", !fax);
}

void CFaxMailEditor::RefreshSpecialTexts()
{
    // As the details dialog would check its radios.
    const std::int32_t speed =
        m_details.speed == kFaxSpeed9600 || m_details.speed == kFaxSpeed14400 ? m_details.speed : kFaxSpeed33600;
    Field("speed").text = Utf8ToUtf16(std::to_string(speed));
    Field("speed").value = speed;
    const bool batch = m_details.hour >= 0 && m_details.hour <= 23 && m_details.minute >= 0 && m_details.minute <= 59;
    Field("batch").text = batch ? TwoDigits(m_details.hour) + u":" + TwoDigits(m_details.minute) : std::u16string();
    std::u16string groups;
    for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
        if (GroupChecked(group)) {
            if (!groups.empty()) {
                groups += u',';
            }
            groups += Utf8ToUtf16(std::to_string(group));
        }
    }
    Field("groups").text = groups;
}

} // namespace qzb
