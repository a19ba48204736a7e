#include "pages/entry_editor.h"

#include "addressbook/group_label.h"
#include "app/string_table.h"
#include "model/input_chars.h"

#include <algorithm>

namespace qzb {

const CEntryOption* FindEntryOption(std::span<const CEntryOption> options, std::int32_t value)
{
    const auto found =
        std::find_if(options.begin(), options.end(), [value](const CEntryOption& o) { return o.value == value; });
    return found == options.end() ? nullptr : &*found;
}

std::string_view EntryOptionWord(std::span<const CEntryOption> options, std::int32_t value)
{
    const CEntryOption* option = FindEntryOption(options, value);
    return option ? option->word : std::string_view();
}

std::u16string GroupLabelFormat(const CEntryEnv& env)
{
    const std::u16string* format = env.strings ? env.strings->Find(kGroupLabelKey) : nullptr;
    return format && !format->empty() ? *format : std::u16string(u"Group %02d");
}

CEntryForm::CEntryForm(std::span<const CEntryFieldDef> defs)
{
    for (const CEntryFieldDef& def : defs) {
        CEntryField field;
        field.def = &def;
        field.offered.assign(def.options.begin(), def.options.end());
        field.labelKey = def.textKey;
        field.frameKey = def.frameKey;
        field.inputKind = def.inputKind;
        m_fields.push_back(std::move(field));
    }
}

const CEntryField* CEntryForm::Find(EntryFieldId id) const
{
    return id < m_fields.size() ? &m_fields[id] : nullptr;
}

CEntryField* CEntryForm::Settable(EntryFieldId id, EntryFieldKind kind, EntryRefusal* refusal)
{
    if (id >= m_fields.size() || m_fields[id].def->kind != kind) {
        *refusal = EntryRefusal::UnknownField;
        return nullptr;
    }
    CEntryField& field = m_fields[id];
    *refusal = !field.visible ? EntryRefusal::Hidden : !field.enabled ? EntryRefusal::Disabled : EntryRefusal::None;
    return *refusal == EntryRefusal::None ? &field : nullptr;
}

CEntryInput CEntryForm::SetText(EntryFieldId id, std::u16string_view text)
{
    EntryRefusal refusal;
    CEntryField* field = Settable(id, EntryFieldKind::Text, &refusal);
    if (field == nullptr) {
        return {refusal};
    }
    if (field->def->limit > 0 && text.size() > static_cast<std::size_t>(field->def->limit)) {
        return {EntryRefusal::TooLong};
    }
    if (!TextAccepted(id, text)) {
        return {EntryRefusal::BadValue};
    }
    field->text = text;
    return Changed(id, 0);
}

CEntryInput CEntryForm::Choose(EntryFieldId id, std::int32_t value)
{
    EntryRefusal refusal;
    CEntryField* field = Settable(id, EntryFieldKind::Choice, &refusal);
    if (field == nullptr) {
        return {refusal};
    }
    if (FindEntryOption(field->offered, value) == nullptr) {
        return {EntryRefusal::NotInList};
    }
    const std::int32_t previous = field->value;
    field->value = value;
    return Changed(id, previous);
}

CEntryInput CEntryForm::Check(EntryFieldId id, bool checked)
{
    EntryRefusal refusal;
    CEntryField* field = Settable(id, EntryFieldKind::Switch, &refusal);
    if (field == nullptr) {
        return {refusal};
    }
    const std::int32_t previous = field->value;
    field->value = checked ? 1 : 0;
    return Changed(id, previous);
}

CEntryInput CEntryForm::SetTime(EntryFieldId id, std::int32_t hour, std::int32_t minute)
{
    EntryRefusal refusal;
    if (Settable(id, EntryFieldKind::Time, &refusal) == nullptr) {
        return {refusal};
    }
    if (hour < -1 || hour > 23 || minute < -1 || minute > 59) {
        return {EntryRefusal::BadValue};
    }
    return ApplyTime(id, hour, minute);
}

CEntryInput CEntryForm::SetGroups(EntryFieldId id, std::span<const std::int32_t> groups)
{
    EntryRefusal refusal;
    if (Settable(id, EntryFieldKind::GroupList, &refusal) == nullptr) {
        return {refusal};
    }
    return ApplyGroups(id, groups);
}

CEntryInput CEntryForm::ChooseRow(EntryFieldId id, std::int32_t number)
{
    EntryRefusal refusal;
    if (Settable(id, EntryFieldKind::Row, &refusal) == nullptr) {
        return {refusal};
    }
    return ApplyRow(id, number);
}

bool CEntryForm::TextPasses(EntryFieldId id, const CValueStore& store) const
{
    const CEntryField& field = m_fields[id];
    return field.inputKind == InputKind::None || IsInputTextValid(field.text, field.inputKind, store);
}

void CEntryForm::Show(EntryFieldId id, bool visible)
{
    CEntryField& field = m_fields[id];
    field.visible = visible;
    field.enabled = visible;
}

void CEntryForm::Enable(EntryFieldId id, bool enabled)
{
    m_fields[id].enabled = enabled;
}

} // namespace qzb
