#pragma once

#include "pages/page_def.h"

#include <cstdint>
#include <span>
#include <string_view>

// Short forms of the rows that long label tables repeat: a label in column 0, a control beside it.
// A row limited to some models is hidden and disabled on the others.

namespace qzb::rows {

constexpr bool Hides(std::uint32_t mask)
{
    return mask != kEveryModelMask;
}

constexpr CControlDef Label(std::int32_t id,
                            std::string_view name,
                            std::string_view key,
                            std::int32_t row,
                            std::uint32_t mask = kEveryModelMask)
{
    return {.id = id, .name = name, .textKey = key, .modelMask = mask, .hideExcluded = Hides(mask), .row = row};
}

// An edit whose text the input kind's text check guards.
constexpr CControlDef TextEdit(std::int32_t id,
                               std::string_view name,
                               std::string_view item,
                               std::int32_t inputKind,
                               std::int32_t limit,
                               std::int32_t row,
                               std::uint32_t mask = kEveryModelMask,
                               CheckRule check = CheckRule::Text)
{
    return {.id = id,
            .kind = ControlKind::Edit,
            .name = name,
            .modelMask = mask,
            .hideExcluded = Hides(mask),
            .binding = Binding::Text,
            .item = item,
            .limit = limit,
            .inputKind = inputKind,
            .check = check,
            .row = row,
            .column = 1};
}

// A password edit: no copy or cut, and a change that fails the text check is undone. The page
// runs its text check in the order it names.
constexpr CControlDef PasswordEdit(std::int32_t id,
                                   std::string_view name,
                                   std::string_view item,
                                   std::int32_t inputKind,
                                   std::int32_t limit,
                                   std::int32_t row,
                                   std::uint32_t mask = kEveryModelMask)
{
    CControlDef control = TextEdit(id, name, item, inputKind, limit, row, mask, CheckRule::None);
    control.noCopyCut = true;
    control.keepLastGood = true;
    return control;
}

// A decimal number of digits only, within minimum ... maximum.
constexpr CControlDef PortEdit(std::int32_t id,
                               std::string_view name,
                               std::string_view item,
                               std::int32_t limit,
                               std::int32_t minimum,
                               std::int32_t maximum,
                               std::int32_t row,
                               std::uint32_t mask = kEveryModelMask)
{
    return {.id = id,
            .kind = ControlKind::Edit,
            .name = name,
            .modelMask = mask,
            .hideExcluded = Hides(mask),
            .binding = Binding::Number,
            .item = item,
            .limit = limit,
            .inputKind = 4,
            .minimum = minimum,
            .maximum = maximum,
            .check = CheckRule::Range,
            .row = row,
            .column = 1};
}

constexpr CControlDef Combo(std::int32_t id,
                            std::string_view name,
                            std::string_view item,
                            std::span<const CChoiceDef> choices,
                            std::int32_t row,
                            std::uint32_t mask = kEveryModelMask)
{
    return {.id = id,
            .kind = ControlKind::Combo,
            .name = name,
            .modelMask = mask,
            .hideExcluded = Hides(mask),
            .binding = Binding::Combo,
            .item = item,
            .choices = choices,
            .row = row,
            .column = 1};
}

constexpr CControlDef CheckBox(std::int32_t id,
                               std::string_view name,
                               std::string_view key,
                               std::string_view item,
                               std::int32_t row,
                               std::int32_t column,
                               std::uint32_t mask = kEveryModelMask,
                               Binding binding = Binding::Check)
{
    return {.id = id,
            .kind = ControlKind::Check,
            .name = name,
            .textKey = key,
            .modelMask = mask,
            .hideExcluded = Hides(mask),
            .binding = binding,
            .item = item,
            .row = row,
            .column = column};
}

// One button of a radio group that stores value; the fallback button takes values no button has.
constexpr CControlDef RadioButton(std::int32_t id,
                                  std::string_view name,
                                  std::string_view key,
                                  std::string_view item,
                                  std::int32_t group,
                                  std::int32_t value,
                                  bool fallback,
                                  std::int32_t row,
                                  std::int32_t column)
{
    return {.id = id,
            .kind = ControlKind::Radio,
            .name = name,
            .textKey = key,
            .binding = Binding::Radio,
            .item = item,
            .group = group,
            .radioValue = value,
            .fallback = fallback,
            .row = row,
            .column = column};
}

constexpr CControlDef AddressField(std::int32_t id,
                                   std::string_view name,
                                   std::string_view item,
                                   Binding binding,
                                   std::int32_t row,
                                   bool readOnly = false)
{
    return {.id = id,
            .kind = ControlKind::Address,
            .name = name,
            .binding = binding,
            .item = item,
            .row = row,
            .column = 1,
            .readOnly = readOnly};
}

} // namespace qzb::rows
