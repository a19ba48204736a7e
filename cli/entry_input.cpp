#include "cli/entry_input.h"

#include "model/text_codec.h"

#include <algorithm>
#include <vector>

namespace qzb {

namespace {

// Up to `digits` decimal digits; "" reads as -1.
bool ParseDigits(std::u16string_view text, std::size_t digits, std::int32_t* value)
{
    if (text.size() > digits) {
        return false;
    }
    *value = text.empty() ? -1 : 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
        *value = *value * 10 + (c - u'0');
    }
    return true;
}

// "1,4,7" as numbers; "" is none.
bool ParseNumberList(std::u16string_view text, std::vector<std::int32_t>* numbers)
{
    if (text.empty()) {
        return true;
    }
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t comma = std::min(text.find(u',', at), text.size());
        std::int32_t number = -1;
        if (!ParseDigits(text.substr(at, comma - at), 3, &number) || number < 0) {
            return false;
        }
        numbers->push_back(number);
        at = comma + 1;
    }
    return true;
}

} // namespace

const CEntryField* FindEntryField(const CEntryForm& form, std::string_view name)
{
    const auto& fields = form.Fields();
    const auto found =
        std::find_if(fields.begin(), fields.end(), [name](const CEntryField& f) { return f.def->name == name; });
    return found == fields.end() ? nullptr : &*found;
}

bool ParseEntryTime(std::u16string_view text, std::int32_t* hour, std::int32_t* minute)
{
    *hour = -1;
    *minute = -1;
    if (text.empty()) {
        return true;
    }
    const std::size_t colon = text.find(u':');
    return colon != std::u16string_view::npos && ParseDigits(text.substr(0, colon), 2, hour) &&
           ParseDigits(text.substr(colon + 1), 2, minute) && *hour <= 23 && *minute <= 59;
}

CEntryInput ApplyEntryText(CEntryForm& form, const CEntryField& field, std::u16string_view value)
{
    const EntryFieldId id = field.def->id;
    switch (field.def->kind) {
        case EntryFieldKind::Text:
            return form.SetText(id, value);
        case EntryFieldKind::Choice: {
            // Radios go by their word, choice lists by their stored value.
            const std::string text = Utf16ToUtf8(value);
            for (const CEntryOption& option : field.def->options) {
                if (!option.word.empty() ? text == option.word : text == std::to_string(option.value)) {
                    return form.Choose(id, option.value);
                }
            }
            return {EntryRefusal::NotInList};
        }
        case EntryFieldKind::Switch:
            if (value != u"0" && value != u"1") {
                return {EntryRefusal::BadValue};
            }
            return form.Check(id, value == u"1");
        case EntryFieldKind::Time: {
            std::int32_t hour = -1;
            std::int32_t minute = -1;
            if (!ParseEntryTime(value, &hour, &minute)) {
                return {EntryRefusal::BadValue};
            }
            return form.SetTime(id, hour, minute);
        }
        case EntryFieldKind::GroupList: {
            std::vector<std::int32_t> groups;
            if (!ParseNumberList(value, &groups)) {
                return {EntryRefusal::BadValue};
            }
            return form.SetGroups(id, groups);
        }
        case EntryFieldKind::Row: {
            std::int32_t number = -1;
            if (!ParseDigits(value, 3, &number) || number < 0) {
                return {EntryRefusal::NotInList};
            }
            return form.ChooseRow(id, number);
        }
    }
    return {EntryRefusal::BadValue};
}

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

nlohmann::ordered_json EntryFieldJson(const CEntryField& field)
{
    using Json = nlohmann::ordered_json;
    switch (field.def->kind) {
        case EntryFieldKind::Text:
        case EntryFieldKind::Time:
            return Utf16ToUtf8(field.text);
        case EntryFieldKind::Switch:
            return field.value;
        case EntryFieldKind::Choice:
            if (const std::string_view word = EntryOptionWord(field.def->options, field.value); !word.empty()) {
                return word;
            }
            return field.value;
        case EntryFieldKind::GroupList:
            return field.list;
        case EntryFieldKind::Row:
            return field.value == 0 ? Json(nullptr) : Json(field.value);
    }
    return nullptr;
}

} // namespace qzb
