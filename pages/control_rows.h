#pragma once

#include "pages/page_def.h"

#include <cstdint>
#include <span>
#include <string_view>

// Short forms of the rows that long label tables repeat: a label in column 0, a control beside it.
// Each form takes its fields by name, with the names of CControlDef, so that a row reads by itself:
//     TextEdit({.id = kHostName, .name = "hostNameEdit", .item = "DNS_HOST_NAME", .inputKind = ..., .limit = 63})
// A row limited to some models is hidden and disabled on the others.

namespace qzb::rows {

constexpr bool Hides(std::uint32_t mask)
{
    return mask != kEveryModelMask;
}

struct CLabelRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view textKey = {};
    std::int32_t row = -1;
    std::uint32_t modelMask = kEveryModelMask;
    bool heading = false; // the title of the rows that follow, drawn across the page
};

constexpr CControlDef Label(const CLabelRow& r)
{
    return {.id = r.id,
            .name = r.name,
            .textKey = r.textKey,
            .modelMask = r.modelMask,
            .hideExcluded = Hides(r.modelMask),
            .row = r.row,
            .heading = r.heading};
}

struct CTextEditRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view item = {};
    InputKind inputKind = InputKind::None;
    std::int32_t limit = 0;
    std::int32_t row = -1;
    std::uint32_t modelMask = kEveryModelMask;
    CheckRule check = CheckRule::Text;
};

// An edit whose text the input kind's text check guards.
constexpr CControlDef TextEdit(const CTextEditRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Edit,
            .name = r.name,
            .modelMask = r.modelMask,
            .hideExcluded = Hides(r.modelMask),
            .binding = Binding::Text,
            .item = r.item,
            .limit = r.limit,
            .inputKind = r.inputKind,
            .check = r.check,
            .row = r.row,
            .column = 1};
}

struct CPasswordEditRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view item = {};
    InputKind inputKind = InputKind::None;
    std::int32_t limit = 0;
    std::int32_t row = -1;
    std::uint32_t modelMask = kEveryModelMask;
};

// A password edit: no copy or cut, and a change that fails the text check is undone. The page
// runs its text check in the order it names.
constexpr CControlDef PasswordEdit(const CPasswordEditRow& r)
{
    CControlDef control = TextEdit({.id = r.id,
                                    .name = r.name,
                                    .item = r.item,
                                    .inputKind = r.inputKind,
                                    .limit = r.limit,
                                    .row = r.row,
                                    .modelMask = r.modelMask,
                                    .check = CheckRule::None});
    control.noCopyCut = true;
    control.keepLastGood = true;
    return control;
}

struct CPortEditRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view item = {};
    std::int32_t limit = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t row = -1;
    std::uint32_t modelMask = kEveryModelMask;
};

// A decimal number of digits only, within minimum ... maximum.
constexpr CControlDef PortEdit(const CPortEditRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Edit,
            .name = r.name,
            .modelMask = r.modelMask,
            .hideExcluded = Hides(r.modelMask),
            .binding = Binding::Number,
            .item = r.item,
            .limit = r.limit,
            .inputKind = InputKind::Digits,
            .minimum = r.minimum,
            .maximum = r.maximum,
            .check = CheckRule::Range,
            .row = r.row,
            .column = 1};
}

struct CComboRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view item = {};
    std::span<const CChoiceDef> choices = {};
    std::int32_t row = -1;
    std::uint32_t modelMask = kEveryModelMask;
};

constexpr CControlDef Combo(const CComboRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Combo,
            .name = r.name,
            .modelMask = r.modelMask,
            .hideExcluded = Hides(r.modelMask),
            .binding = Binding::Combo,
            .item = r.item,
            .choices = r.choices,
            .row = r.row,
            .column = 1};
}

struct CCheckBoxRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view textKey = {};
    std::string_view item = {};
    std::int32_t row = -1;
    std::int32_t column = 0;
    std::uint32_t modelMask = kEveryModelMask;
    Binding binding = Binding::Check;
};

constexpr CControlDef CheckBox(const CCheckBoxRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Check,
            .name = r.name,
            .textKey = r.textKey,
            .modelMask = r.modelMask,
            .hideExcluded = Hides(r.modelMask),
            .binding = r.binding,
            .item = r.item,
            .row = r.row,
            .column = r.column};
}

struct CRadioButtonRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view textKey = {};
    std::string_view item = {};
    std::int32_t group = 0;
    std::int32_t radioValue = 0;
    bool fallback = false;
    std::int32_t row = -1;
    std::int32_t column = 0;
    std::uint32_t modelMask = kEveryModelMask;
};

// One button of a radio group that stores radioValue; the fallback button takes values no button has.
constexpr CControlDef RadioButton(const CRadioButtonRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Radio,
            .name = r.name,
            .textKey = r.textKey,
            .modelMask = r.modelMask,
            .hideExcluded = Hides(r.modelMask),
            .binding = Binding::Radio,
            .item = r.item,
            .group = r.group,
            .radioValue = r.radioValue,
            .fallback = r.fallback,
            .row = r.row,
            .column = r.column};
}

struct CAddressFieldRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view item = {};
    Binding binding = Binding::Address;
    std::int32_t row = -1;
    bool readOnly = false;
};

constexpr CControlDef AddressField(const CAddressFieldRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Address,
            .name = r.name,
            .binding = r.binding,
            .item = r.item,
            .row = r.row,
            .column = 1,
            .readOnly = r.readOnly};
}

struct CSliderRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view item = {};
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t offset = 0;
    std::int32_t row = -1;
};

// A slider storing position + offset; the page shows the value in a ValueLabel beside it.
constexpr CControlDef Slider(const CSliderRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Slider,
            .name = r.name,
            .binding = Binding::Slider,
            .item = r.item,
            .minimum = r.minimum,
            .maximum = r.maximum,
            .offset = r.offset,
            .row = r.row,
            .column = 1};
}

struct CValueLabelRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::int32_t row = -1;
};

// The text the page's rules write beside a slider, in column 2.
constexpr CControlDef ValueLabel(const CValueLabelRow& r)
{
    return {.id = r.id, .name = r.name, .row = r.row, .column = 2};
}

} // namespace qzb::rows
