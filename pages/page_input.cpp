#include "pages/page_input.h"

#include "machine/setting_check.h"
#include "model/input_chars.h"
#include "pages/page_registry.h"

#include <algorithm>

#include <string>

namespace qzb {

namespace {

// A whole decimal number, sign allowed, within the 32-bit range.
bool ParseNumber(std::u16string_view text, std::int32_t& out)
{
    if (text.empty()) {
        return false;
    }
    std::size_t at = 0;
    const bool negative = text[0] == u'-';
    if (negative || text[0] == u'+') {
        at = 1;
    }
    if (at == text.size() || text.size() - at > 10) {
        return false;
    }
    std::int64_t value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < u'0' || text[at] > u'9') {
            return false;
        }
        value = value * 10 + (text[at] - u'0');
    }
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX) {
        return false;
    }
    out = static_cast<std::int32_t>(value);
    return true;
}

InputRefusal ParseOctets(std::u16string_view text, COctets& octets)
{
    std::size_t field = 0;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (at < text.size() && text[at] != u'.') {
            continue;
        }
        if (field == 4) {
            return InputRefusal::NotAddress;
        }
        const std::u16string_view part = text.substr(start, at - start);
        std::int32_t value = -1;
        if (!part.empty()) {
            if (part.size() > 3 || part[0] == u'-' || part[0] == u'+' || !ParseNumber(part, value)) {
                return InputRefusal::NotAddress;
            }
            if (value > 255) {
                return InputRefusal::OutOfRange;
            }
        }
        octets[field++] = static_cast<std::int16_t>(value);
        start = at + 1;
    }
    return field == 4 ? InputRefusal::None : InputRefusal::NotAddress;
}

InputRefusal ApplyEdit(CPage& page, const CControlDef& control, std::u16string_view value)
{
    if (static_cast<std::int32_t>(value.size()) > CPage::EditLimit(control)) {
        return InputRefusal::TooLong;
    }
    CEditRules rules = EditRulesForKind(control.inputKind);
    rules.noCopyCut = control.noCopyCut;
    std::u16string typed;
    for (const char16_t ch : value) {
        if (!IsCharAccepted(ch, rules, typed, *page.Env().store)) {
            return InputRefusal::CharacterRefused;
        }
        typed.push_back(ch);
    }
    // The page's own typing rules (a month above 12) may still refuse the text as a whole.
    return page.SetText(control.id, std::move(typed)) ? InputRefusal::None : InputRefusal::CharacterRefused;
}

} // namespace

bool ControlTravels(const CPage& page, const CControlDef& control)
{
    // Only the device's settings travel; the pages of the utility's own choices (what a list print
    // includes) are kept where they are made.
    const auto devicePages = PageDefs();
    if (control.binding == Binding::None ||
        std::find(devicePages.begin(), devicePages.end(), &page.Def()) == devicePages.end()) {
        return true;
    }
    const std::string_view store = control.itemPage.empty() ? page.StorePage() : control.itemPage;
    if (IsAddressBinding(control.binding)) {
        return SettingTravels(store, std::string(control.item) + "_1", false);
    }
    const bool text = control.binding == Binding::Text || control.binding == Binding::PanelText;
    return SettingTravels(store, control.item, text);
}

InputRefusal ApplyControlInput(CPage& page, const CControlDef& control, std::u16string_view value)
{
    const CControlState& state = page.State(control.id);
    if (!state.visible) {
        return InputRefusal::Hidden;
    }
    if (!state.enabled) {
        return InputRefusal::Disabled;
    }
    if (control.readOnly) {
        return InputRefusal::NotEditable;
    }
    if (!ControlTravels(page, control)) {
        return InputRefusal::NeverTravels;
    }
    std::int32_t number = 0;
    switch (control.kind) {
        case ControlKind::Label:
        case ControlKind::Button:
        case ControlKind::List:
            return InputRefusal::NotEditable;
        case ControlKind::Edit:
            return ApplyEdit(page, control, value);
        case ControlKind::Combo:
            if (!ParseNumber(value, number)) {
                return InputRefusal::NotNumber;
            }
            for (const CChoice& choice : state.choices) {
                if (choice.value == number) {
                    page.SetValue(control.id, number);
                    return InputRefusal::None;
                }
            }
            return InputRefusal::NotInList;
        case ControlKind::Check:
        case ControlKind::Radio:
            if (!ParseNumber(value, number)) {
                return InputRefusal::NotNumber;
            }
            if (number != 0 && number != 1) {
                return InputRefusal::OutOfRange;
            }
            page.SetValue(control.id, number);
            return InputRefusal::None;
        case ControlKind::Slider:
            if (!ParseNumber(value, number)) {
                return InputRefusal::NotNumber;
            }
            if (number < state.minimum || number > state.maximum) {
                return InputRefusal::OutOfRange;
            }
            page.SetValue(control.id, number);
            return InputRefusal::None;
        case ControlKind::Address: {
            COctets octets{};
            const InputRefusal refusal = ParseOctets(value, octets);
            if (refusal == InputRefusal::None) {
                page.SetOctets(control.id, octets);
            }
            return refusal;
        }
    }
    return InputRefusal::NotEditable;
}

std::u16string ControlValueText(const CPage& page, const CControlDef& control)
{
    const CControlState& state = page.State(control.id);
    auto number = [](std::int32_t value) {
        const std::string text = std::to_string(value);
        return std::u16string(text.begin(), text.end());
    };
    switch (control.kind) {
        case ControlKind::Label:
        case ControlKind::Edit:
        case ControlKind::Button:
        case ControlKind::List:
            return state.text;
        case ControlKind::Combo:
        case ControlKind::Check:
        case ControlKind::Radio:
        case ControlKind::Slider:
            return number(state.value);
        case ControlKind::Address: {
            std::u16string text;
            for (std::size_t field = 0; field < 4; ++field) {
                if (field > 0) {
                    text += u'.';
                }
                if (state.octets[field] >= 0) {
                    text += number(state.octets[field]);
                }
            }
            return text;
        }
    }
    return {};
}

std::string_view ControlKindName(ControlKind kind)
{
    switch (kind) {
        case ControlKind::Label:
            return "label";
        case ControlKind::Edit:
            return "edit";
        case ControlKind::Combo:
            return "combo";
        case ControlKind::Check:
            return "check";
        case ControlKind::Radio:
            return "radio";
        case ControlKind::Slider:
            return "slider";
        case ControlKind::Address:
            return "address";
        case ControlKind::Button:
            return "button";
        case ControlKind::List:
            return "list";
    }
    return "label";
}

} // namespace qzb
