#pragma once

#include "pages/page.h"

#include <cstdint>
#include <string_view>

namespace qzb {

// Why a value given for a control by name (qzbctl page set) was not taken.
enum class InputRefusal : std::uint8_t {
    None,
    Hidden,
    Disabled,
    NotEditable, // labels, buttons, lists and read-only controls take no value
    NotInList, // a combo value no offered option has
    NotNumber,
    OutOfRange, // a slider position, a 0/1 switch, an octet
    TooLong,
    CharacterRefused, // the edit's typing filter drops a character
    NotAddress, // not four dot-separated fields
    NeverTravels, // bound to an item no upload or settings file carries: the device's panel sets it
};

// Whether what the control holds reaches the device: unbound controls and controls bound to an item
// the machine image carries. Read-only controls travel nowhere either, but show what the device has.
bool ControlTravels(const CPage& page, const CControlDef& control);

// Applies one value as a user would set it: an edit's text character by character through its
// typing filter, a combo's stored value, 1/0 for check boxes and radio buttons (1 clears the
// group), a slider position, an address "a.b.c.d" with empty fields allowed. The page's reactions
// follow. Nothing changes when the value is refused.
InputRefusal ApplyControlInput(CPage& page, const CControlDef& control, std::u16string_view value);

// The value a control shows, as text: the edit's text, the combo's stored value (-1 none), 1/0,
// the slider position, "a.b.c.d" (empty fields empty), a label's text.
std::u16string ControlValueText(const CPage& page, const CControlDef& control);

std::string_view ControlKindName(ControlKind kind);

} // namespace qzb
