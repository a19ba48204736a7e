#pragma once

#include "addressbook/address_records.h"

#include <string>

namespace qzb {

inline constexpr std::string_view kGroupLabelKey = "STR_DR_LST_ITEM_GROUP";

// The default label of a group number: the translation's format with the number.
std::u16string DefaultGroupLabel(std::u16string_view labelFormat, std::int32_t number);

// How a group is shown everywhere: a missing group or an empty name shows its default label; a
// stored name that reads as a default label in the code page (the check list stores those) is
// shown so; any other name is panel code.
std::u16string GroupDisplayLabel(const CGroupEntry* group,
                                 std::int32_t number,
                                 std::u16string_view labelFormat,
                                 std::int32_t panelLanguage);

} // namespace qzb
