#pragma once

#include "pages/entry_editor.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace qzb {

// The field of the editor with this name, or null.
const CEntryField* FindEntryField(const CEntryForm& form, std::string_view name);

// Applies one FIELD=VALUE of `qzbctl entry set` through the editor's typed setters: a text as it
// is, a radio's word or a list's stored value, 0 or 1 for a switch, "HH:MM" (or "" for none) for a
// time, "1,4,7" for the group list, a number for a row of a candidate list.
CEntryInput ApplyEntryText(CEntryForm& form, const CEntryField& field, std::u16string_view value);

// "HH:MM" with an hour 0-23 and a minute 0-59, one of them may be left out ("10:"); "" is no time.
// False for any other text; a part left out is -1.
bool ParseEntryTime(std::u16string_view text, std::int32_t* hour, std::int32_t* minute);

// How qzbctl tells a refusal: "is hidden for this entry" and so on.
std::string_view EntryRefusalText(EntryRefusal refusal);

// A field as `qzbctl entry show` prints it: the form ApplyEntryText takes back.
nlohmann::ordered_json EntryFieldJson(const CEntryField& field);

} // namespace qzb
