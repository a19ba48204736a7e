#include "pages/entry_editor.h"

#include "model/input_chars.h"
#include "model/text_codec.h"

#include <algorithm>

namespace qzb {

std::string_view EntryRefusalText(EntryRefusal refusal)
{
    switch (refusal) {
        case EntryRefusal::None:
            return {};
        case EntryRefusal::UnknownField:
            return "is no field of this editor";
        case EntryRefusal::Hidden:
            return "is hidden for this entry";
        case EntryRefusal::Disabled:
            return "is disabled";
        case EntryRefusal::NotInList:
            return "has no such choice";
        case EntryRefusal::TooLong:
            return "takes no text that long";
        case EntryRefusal::BadValue:
            return "does not take that value";
    }
    return {};
}

bool IsEmailSyntaxValid(std::u16string_view address)
{
    const std::size_t at = address.find(u'@');
    return at != std::u16string_view::npos && at != 0 && at + 1 != address.size() &&
           address.find(u'@', at + 1) == std::u16string_view::npos;
}

CEntryForm::CEntryForm(std::span<const CEntryFieldDef> defs)
{
    for (const CEntryFieldDef& def : defs) {
        CEntryField field;
        field.def = &def;
        field.offered.assign(def.options.begin(), def.options.end());
        m_fields.push_back(std::move(field));
    }
}

const CEntryField* CEntryForm::Find(std::string_view name) const
{
    const auto found =
        std::find_if(m_fields.begin(), m_fields.end(), [name](const CEntryField& f) { return f.def->name == name; });
    return found == m_fields.end() ? nullptr : &*found;
}

CEntryField& CEntryForm::Field(std::string_view name)
{
    // Editors name only their own fields; a wrong name is a programming error caught by the tests.
    return *const_cast<CEntryField*>(Find(name));
}

const std::u16string& CEntryForm::Text(std::string_view name) const
{
    return Find(name)->text;
}

std::int32_t CEntryForm::Value(std::string_view name) const
{
    return Find(name)->value;
}

EntryRefusal CEntryForm::ApplyValue(CEntryField& field, std::u16string_view value)
{
    if (!field.visible) {
        return EntryRefusal::Hidden;
    }
    if (!field.enabled) {
        return EntryRefusal::Disabled;
    }
    switch (field.def->kind) {
        case EntryFieldKind::Text:
            if (field.def->limit > 0 && value.size() > static_cast<std::size_t>(field.def->limit)) {
                return EntryRefusal::TooLong;
            }
            field.text = value;
            return EntryRefusal::None;
        case EntryFieldKind::Choice: {
            const std::string utf8 = Utf16ToUtf8(value);
            for (const CEntryOption& option : field.offered) {
                if (!option.word.empty() ? utf8 == option.word : utf8 == std::to_string(option.value)) {
                    field.value = option.value;
                    return EntryRefusal::None;
                }
            }
            return EntryRefusal::NotInList;
        }
        case EntryFieldKind::Switch:
            if (value != u"0" && value != u"1") {
                return EntryRefusal::BadValue;
            }
            field.value = value == u"1" ? 1 : 0;
            return EntryRefusal::None;
        case EntryFieldKind::Special:
            break;
    }
    return EntryRefusal::BadValue;
}

bool CEntryForm::TextPasses(std::string_view name, const CValueStore& store) const
{
    const CEntryField* field = Find(name);
    return field->def->inputKind == 0 || IsInputTextValid(field->text, field->def->inputKind, store);
}

void CEntryForm::Show(std::string_view name, bool visible)
{
    CEntryField& field = Field(name);
    field.visible = visible;
    field.enabled = visible;
}

void CEntryForm::Enable(std::string_view name, bool enabled)
{
    Field(name).enabled = enabled;
}

} // namespace qzb
