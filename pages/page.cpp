#include "pages/page.h"

#include "app/english_texts.h"
#include "app/string_table.h"
#include "model/input_chars.h"
#include "model/panel_code.h"
#include "model/value_store.h"
#include "pages/common_checks.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <string>

namespace qzb {

namespace {

std::string OctetKey(std::string_view item, int field)
{
    std::string key(item);
    key += '_';
    key += static_cast<char>('1' + field);
    return key;
}

bool StoredOctetsAreZero(const CValueStore& store, std::string_view page, std::string_view item)
{
    for (int field = 0; field < 4; ++field) {
        if (store.GetItemNumber(page, OctetKey(item, field)) != 0) {
            return false;
        }
    }
    return true;
}

std::u16string Ascii(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

std::u16string FormatNumber(std::int32_t number, std::int32_t width)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%0*d", static_cast<int>(width), static_cast<int>(number));
    return Ascii(buffer);
}

bool IsExactLengthValid(const CControlDef& control, std::u16string_view text, const CValueStore& store)
{
    if (static_cast<std::int32_t>(text.size()) != CPage::EditLimit(control)) {
        return false;
    }
    return IsInputTextValid(text, control.inputKind, store);
}

} // namespace

int FilledFieldCount(const COctets& octets)
{
    return static_cast<int>(std::count_if(octets.begin(), octets.end(), [](std::int16_t octet) { return octet >= 0; }));
}

CPage::CPage(const CPageDef& def, const CPageEnv& env)
    : m_def(def)
    , m_env(env)
    , m_states(def.controls.size())
{
    for (std::size_t i = 0; i < m_states.size(); ++i) {
        m_states[i].minimum = def.controls[i].minimum;
        m_states[i].maximum = def.controls[i].maximum;
    }
}

std::string_view CPage::StorePage() const
{
    return m_def.storePage.empty() ? m_def.name : m_def.storePage;
}

std::int32_t CPage::EditLimit(const CControlDef& control)
{
    if (control.limit > 0) {
        return control.limit;
    }
    return control.binding == Binding::Number ? 5 : 255;
}

const CControlDef* CPage::FindControl(std::int32_t id) const
{
    for (const CControlDef& control : m_def.controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

std::string_view CPage::DialogFor(std::int32_t id) const
{
    const CControlDef* control = FindControl(id);
    if (control == nullptr || control->opensDialog.empty()) {
        return {};
    }
    if (control->kind == ControlKind::Button || State(id).value == control->dialogValue) {
        return control->opensDialog;
    }
    return {};
}

std::int32_t CPage::CancelOpeningChoice(std::int32_t id, std::int32_t priorValue, std::int32_t priorRadio)
{
    const CControlDef* control = FindControl(id);
    if (control == nullptr || control->kind == ControlKind::Button) {
        return 0;
    }
    if (priorRadio != 0) {
        SetValue(priorRadio, 1);
        return priorRadio;
    }
    SetValue(id, priorValue);
    return id;
}

const CControlDef* CPage::FindControl(std::string_view name) const
{
    for (const CControlDef& control : m_def.controls) {
        if (control.name == name) {
            return &control;
        }
    }
    return nullptr;
}

std::size_t CPage::IndexOf(std::int32_t id) const
{
    for (std::size_t i = 0; i < m_def.controls.size(); ++i) {
        if (m_def.controls[i].id == id) {
            return i;
        }
    }
    // A rule naming a control its table lacks is a programming error; the page tests catch it.
    assert(false && "control id not in the page's table");
    return m_states.size();
}

CControlState& CPage::State(std::int32_t id)
{
    const std::size_t index = IndexOf(id);
    return index < m_states.size() ? m_states[index] : m_unknown;
}

const CControlState& CPage::State(std::int32_t id) const
{
    const std::size_t index = IndexOf(id);
    return index < m_states.size() ? m_states[index] : m_unknown;
}

std::u16string CPage::Text(std::string_view key) const
{
    return TranslatedText(m_env.strings, key);
}

void CPage::Initialise()
{
    for (std::size_t i = 0; i < m_def.controls.size(); ++i) {
        const CControlDef& control = m_def.controls[i];
        CControlState& state = m_states[i];
        // Every row starts from the English text; a row of the running model takes the table's.
        state.text = EnglishText(control.textKey);
        if (!control.textKey.empty() && AppliesToModel(control.modelMask)) {
            state.text = Text(control.textKey);
        }
        if (control.hideExcluded && !AppliesToModel(control.modelMask)) {
            state.visible = false;
            state.enabled = false;
        }
        if (control.kind == ControlKind::Combo) {
            SetChoices(control.id, control.choices);
        }
    }
    Load();
}

void CPage::SetChoices(std::int32_t id, std::span<const CChoiceDef> options)
{
    CControlState& state = State(id);
    const std::int32_t selected = state.value;
    state.choices.clear();
    for (const CChoiceDef& option : options) {
        if (AppliesToModel(option.modelMask)) {
            state.choices.push_back({Text(option.textKey), option.value});
        }
    }
    SelectValue(id, selected);
}

bool CPage::SelectValue(std::int32_t id, std::int32_t value)
{
    CControlState& state = State(id);
    for (const CChoice& choice : state.choices) {
        if (choice.value == value) {
            state.value = value;
            return true;
        }
    }
    state.value = state.choices.empty() ? -1 : state.choices.front().value;
    return false;
}

void CPage::LoadControl(std::size_t index)
{
    const CControlDef& control = m_def.controls[index];
    CControlState& state = m_states[index];
    const CValueStore& store = *m_env.store;
    const std::string_view page = control.itemPage.empty() ? StorePage() : control.itemPage;
    switch (control.binding) {
        case Binding::None:
            break;
        case Binding::Text:
            // The edit limit limits typing only: a longer stored text is kept whole until edited.
            state.text = store.GetItemText(page, control.item);
            break;
        case Binding::Number:
            state.text = FormatNumber(store.GetItemNumber(page, control.item), control.numberWidth);
            break;
        case Binding::NumberOrEmpty: {
            const std::int32_t number = store.GetItemNumber(page, control.item);
            state.text = number == -1 ? std::u16string() : FormatNumber(number, control.numberWidth);
            break;
        }
        case Binding::PanelText:
            state.text = PanelBytesToText(store.GetItemTextRaw(page, control.item), store);
            break;
        case Binding::Check:
            state.value = store.GetItemNumber(page, control.item) == 1 ? 1 : 0;
            break;
        case Binding::CheckNonZero:
            state.value = store.GetItemNumber(page, control.item) != 0 ? 1 : 0;
            break;
        case Binding::CheckInverted:
            state.value = store.GetItemNumber(page, control.item) != 1 ? 1 : 0;
            break;
        case Binding::Radio: {
            const std::int32_t stored = store.GetItemNumber(page, control.item);
            // Where the running model shows some buttons of the group, only those claim the stored
            // value: a value of a hidden button (transparency on a model without it) loads as the
            // group's fallback, which a store then writes, instead of leaving no button checked. A
            // group the model hides whole keeps what it holds.
            auto shown = [this](const CControlDef& button) {
                return AppliesToModel(button.modelMask) || !button.hideExcluded;
            };
            bool groupShown = false;
            bool claimedByShown = false;
            bool claimed = false;
            for (const CControlDef& other : m_def.controls) {
                if (other.binding != Binding::Radio || other.group != control.group) {
                    continue;
                }
                groupShown = groupShown || shown(other);
                claimed = claimed || other.radioValue == stored;
                claimedByShown = claimedByShown || (shown(other) && other.radioValue == stored);
            }
            if (groupShown) {
                state.value =
                    ((shown(control) && control.radioValue == stored) || (!claimedByShown && control.fallback)) ? 1 : 0;
            } else {
                state.value = (control.radioValue == stored || (!claimed && control.fallback)) ? 1 : 0;
            }
            break;
        }
        case Binding::Combo:
            SelectValue(control.id, store.GetItemNumber(page, control.item));
            break;
        case Binding::Slider: {
            const std::int64_t position = std::int64_t{store.GetItemNumber(page, control.item)} - control.offset;
            state.value = (position < control.minimum || position > control.maximum)
                              ? std::clamp(0, control.minimum, control.maximum)
                              : static_cast<std::int32_t>(position);
            break;
        }
        case Binding::Address:
        case Binding::AddressNoneMinusOne:
        case Binding::AddressNoneZero:
            for (int field = 0; field < 4; ++field) {
                const std::int32_t octet = store.GetItemNumber(page, OctetKey(control.item, field));
                state.octets[static_cast<std::size_t>(field)] = static_cast<std::int16_t>(std::clamp(octet, 0, 255));
            }
            // A gateway of -1 or 0.0.0.0 both mean "no gateway" (the factory value is 0.0.0.0, which
            // the large devices would refuse as an address); either shows as an empty control.
            if ((control.binding == Binding::AddressNoneMinusOne &&
                 (store.GetItemNumber(page, OctetKey(control.item, 0)) == -1 || state.octets == COctets{0, 0, 0, 0})) ||
                (control.binding == Binding::AddressNoneZero && state.octets == COctets{0, 0, 0, 0})) {
                state.octets = {-1, -1, -1, -1};
            }
            break;
    }
}

void CPage::Load()
{
    for (std::size_t i = 0; i < m_def.controls.size(); ++i) {
        LoadControl(i);
    }
    if (m_def.rules != nullptr && m_def.rules->afterLoad != nullptr) {
        m_def.rules->afterLoad(*this);
    }
}

CCheckResult CPage::Check() const
{
    const CValueStore& store = *m_env.store;
    for (std::size_t i = 0; i < m_def.controls.size(); ++i) {
        const CControlDef& control = m_def.controls[i];
        if (control.check == CheckRule::None || !AppliesToModel(control.modelMask)) {
            continue;
        }
        const std::u16string& text = m_states[i].text;
        bool valid = true;
        switch (control.check) {
            case CheckRule::None:
                break;
            case CheckRule::Text:
                valid = IsInputTextValid(text, control.inputKind, store);
                break;
            case CheckRule::Range:
                valid = IsInputTextValid(text, control.inputKind, store) &&
                        IsInRange(text, control.minimum, control.maximum);
                break;
            case CheckRule::Email:
                valid = IsEmailAddress(text);
                break;
            case CheckRule::ExactLength:
                valid = IsExactLengthValid(control, text, store);
                break;
        }
        if (!valid && control.check == CheckRule::Range && control.checkCode == kMsgInvalidRangeValue) {
            CRangeRefusal refusal = RangeRefusal(text, control.minimum, control.maximum);
            return {refusal.code, control.id, -1, std::move(refusal.inserts)};
        }
        if (!valid) {
            return {control.checkCode, control.id};
        }
    }
    if (m_def.rules != nullptr && m_def.rules->check != nullptr) {
        return m_def.rules->check(*this);
    }
    return {};
}

void CPage::StoreControl(std::size_t index) const
{
    const CControlDef& control = m_def.controls[index];
    const CControlState& state = m_states[index];
    CValueStore& store = *m_env.store;
    const std::string_view page = control.itemPage.empty() ? StorePage() : control.itemPage;
    if (control.readOnly) {
        return;
    }
    switch (control.binding) {
        case Binding::None:
            break;
        case Binding::Text:
            store.SetItemText(page, control.item, state.text);
            break;
        case Binding::Number:
            store.SetItemNumber(
                page,
                control.item,
                static_cast<std::int32_t>(std::clamp<std::int64_t>(LeadingDecimal(state.text), INT32_MIN, INT32_MAX)));
            break;
        case Binding::NumberOrEmpty:
            store.SetItemNumber(page,
                                control.item,
                                state.text.empty() ? -1
                                                   : static_cast<std::int32_t>(std::clamp<std::int64_t>(
                                                         LeadingDecimal(state.text), INT32_MIN, INT32_MAX)));
            break;
        case Binding::PanelText:
            store.SetItemTextRaw(page, control.item, TextToPanelBytes(state.text));
            break;
        case Binding::Check:
        case Binding::CheckNonZero:
            store.SetItemNumber(page, control.item, state.value == 1 ? 1 : 0);
            break;
        case Binding::CheckInverted:
            store.SetItemNumber(page, control.item, state.value == 1 ? 0 : 1);
            break;
        case Binding::Radio:
            if (state.value == 1) {
                store.SetItemNumber(page, control.item, control.radioValue);
            }
            break;
        case Binding::Combo:
            // No option fits the running model: the item keeps what it holds.
            if (!state.choices.empty()) {
                store.SetItemNumber(page, control.item, state.value);
            }
            break;
        case Binding::Slider:
            store.SetItemNumber(page, control.item, state.value + control.offset);
            break;
        case Binding::Address:
        case Binding::AddressNoneMinusOne:
        case Binding::AddressNoneZero: {
            const bool none = control.binding == Binding::AddressNoneMinusOne && FilledFieldCount(state.octets) == 0;
            if (none && StoredOctetsAreZero(store, page, control.item)) {
                break; // "No gateway" held as 0.0.0.0 stays as the device gave it.
            }
            for (int field = 0; field < 4; ++field) {
                const std::int16_t octet = state.octets[static_cast<std::size_t>(field)];
                store.SetItemNumber(
                    page, OctetKey(control.item, field), none && field == 0 ? -1 : std::max<std::int16_t>(octet, 0));
            }
            break;
        }
    }
}

CCheckResult CPage::Store()
{
    const CCheckResult result = Check();
    if (!result.Ok()) {
        return result;
    }
    if (m_def.rules != nullptr && m_def.rules->beforeStore != nullptr) {
        m_def.rules->beforeStore(*this, *m_env.store);
    }
    const auto keepsStored = m_def.rules != nullptr ? m_def.rules->keepsStored : nullptr;
    for (std::size_t i = 0; i < m_def.controls.size(); ++i) {
        if (!IsShadowed(i) && (keepsStored == nullptr || !keepsStored(*this, m_def.controls[i]))) {
            StoreControl(i);
        }
    }
    if (m_def.rules != nullptr && m_def.rules->afterStore != nullptr) {
        m_def.rules->afterStore(*this, *m_env.store);
    }
    return {};
}

bool CPage::IsShadowed(std::size_t index) const
{
    // Two controls that bind one item (a slider on one family, a combo on the other): only the
    // control the running model uses writes it, so a hidden control never replaces the user's value.
    const CControlDef& control = m_def.controls[index];
    if (control.binding == Binding::None || AppliesToModel(control.modelMask)) {
        return false;
    }
    for (const CControlDef& other : m_def.controls) {
        if (&other != &control && other.binding != Binding::None && other.item == control.item &&
            other.itemPage == control.itemPage && AppliesToModel(other.modelMask)) {
            return true;
        }
    }
    return false;
}

void CPage::Changed(std::int32_t id)
{
    if (m_def.rules != nullptr && m_def.rules->onChange != nullptr) {
        m_def.rules->onChange(*this, id);
    }
}

bool CPage::SetText(std::int32_t id, std::u16string text)
{
    // The text a password edit holds passed the check when it went in, so it is the last good one.
    const CControlDef* control = FindControl(id);
    if (control != nullptr && control->keepLastGood && !IsInputTextValid(text, control->inputKind, *m_env.store)) {
        return false;
    }
    if (m_def.rules != nullptr && m_def.rules->acceptsText != nullptr && !m_def.rules->acceptsText(*this, id, text)) {
        return false;
    }
    State(id).text = std::move(text);
    Changed(id);
    return true;
}

void CPage::SetRange(std::int32_t id, std::int32_t minimum, std::int32_t maximum)
{
    CControlState& state = State(id);
    state.minimum = minimum;
    state.maximum = std::max(minimum, maximum);
    state.value = std::clamp(state.value, state.minimum, state.maximum);
}

void CPage::SetValue(std::int32_t id, std::int32_t value)
{
    const std::size_t index = IndexOf(id);
    if (index >= m_states.size()) {
        return;
    }
    const CControlDef& control = m_def.controls[index];
    if (control.kind == ControlKind::Combo) {
        SelectValue(id, value);
    } else {
        m_states[index].value = value;
    }
    if (control.kind == ControlKind::Radio && value == 1) {
        for (std::size_t i = 0; i < m_def.controls.size(); ++i) {
            const CControlDef& other = m_def.controls[i];
            if (i != index && other.kind == ControlKind::Radio && other.group == control.group) {
                m_states[i].value = 0;
            }
        }
    }
    Changed(id);
}

void CPage::SetOctets(std::int32_t id, const COctets& octets)
{
    State(id).octets = octets;
    Changed(id);
}

} // namespace qzb
