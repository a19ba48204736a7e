#pragma once

#include "pages/page_def.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

class CStringTable;
class CValueStore;
struct CDeviceData;

// What a page works on: the store it loads from and writes to, the texts, the running model and,
// for the information pages, the device data the last decode filled.
struct CPageEnv
{
    CValueStore* store = nullptr;
    const CStringTable* strings = nullptr; // no table: every text stays empty
    std::uint32_t modelBit = 1;
    CDeviceData* device = nullptr; // pages may repair the device's switch block
    const CPage* opener = nullptr; // the page a setting dialog was opened from
};

struct CChoice
{
    std::u16string text;
    std::int32_t value = 0;
    bool operator==(const CChoice&) const = default;
};

// An address control's four fields; -1 is an empty field.
using COctets = std::array<std::int16_t, 4>;

// How many of the four fields hold a number.
int FilledFieldCount(const COctets& octets);

// The working copy of one control. There is no modification flag: Load overwrites every control
// from the store and Store writes every bound control back.
struct CControlState
{
    std::u16string text; // edit text, or the caption of a label, box or button
    std::int32_t value = 0; // combo: the selected stored value (-1 none); check, radio: 1/0; slider
    // Slider range: the table's, unless the page's rules set another for the data loaded.
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    COctets octets{-1, -1, -1, -1};
    std::vector<CChoice> choices;
    bool enabled = true;
    bool visible = true;
};

// One page at work: its table, the state of every control and the load / check / store cycle. The
// Qt engine and qzbctl drive the same object; neither holds a rule of its own.
class CPage
{
public:
    CPage(const CPageDef& def, const CPageEnv& env);

    const CPageDef& Def() const { return m_def; }
    const CPageEnv& Env() const { return m_env; }
    std::string_view StorePage() const;
    std::span<const CControlDef> Controls() const { return m_def.controls; }

    const CControlDef* FindControl(std::int32_t id) const;
    const CControlDef* FindControl(std::string_view name) const;
    CControlState& State(std::int32_t id);
    const CControlState& State(std::int32_t id) const;
    const CControlState& StateAt(std::size_t index) const { return m_states[index]; }

    // Texts from the label table, the running model's visibility, the choice lists; then Load.
    void Initialise();
    // Store -> controls, then the page's enabling rules.
    void Load();
    // The controls' own checks in table order, then the page's; the first failure.
    CCheckResult Check() const;
    // Check, then write every bound control; on a failure nothing is written.
    CCheckResult Store();

    // A user's change to one control; the page's reactions follow. Setting a radio button clears
    // the other buttons of its group. SetText is false when the edit refused the text.
    bool SetText(std::int32_t id, std::u16string text);
    void SetValue(std::int32_t id, std::int32_t value);
    void SetOctets(std::int32_t id, const COctets& octets);

    // The setting dialog the control's present value opens, empty when it opens none: a button's
    // always, a check box's or combo's when the value is the one its table names.
    std::string_view DialogFor(std::int32_t id) const;
    // The setting dialog that control id's choice opened ended with Cancel: the choice is taken
    // back (priorValue), a radio button giving the check back to the button of its group that had
    // it (priorRadio, 0 for none). A button's press is no choice. Returns the control whose value
    // was set back, 0 when none.
    std::int32_t CancelOpeningChoice(std::int32_t id, std::int32_t priorValue, std::int32_t priorRadio = 0);

    // For the pages' rules.
    std::u16string Text(std::string_view key) const; // empty when the table lacks the key
    bool IsChecked(std::int32_t id) const { return State(id).value == 1; }
    void SetEnabled(std::int32_t id, bool enabled) { State(id).enabled = enabled; }
    void SetVisible(std::int32_t id, bool visible) { State(id).visible = visible; }
    void SetCaption(std::int32_t id, std::u16string text) { State(id).text = std::move(text); }
    // A slider's range for the data loaded; the position is kept within it.
    void SetRange(std::int32_t id, std::int32_t minimum, std::int32_t maximum);
    // Rebuilds a combo's list from options filtered by the running model and selects the stored
    // value, or the first option when the list lacks it.
    void SetChoices(std::int32_t id, std::span<const CChoiceDef> options);
    // Selects the option with the value; the first option when none has it; -1 for an empty list.
    // False when the value was not in the list.
    bool SelectValue(std::int32_t id, std::int32_t value);
    bool AppliesToModel(std::uint32_t modelMask) const { return (modelMask & m_env.modelBit) != 0; }

    // The edit limit the engine gives a control: the table's, else 5 for numbers, 255 for texts.
    static std::int32_t EditLimit(const CControlDef& control);

private:
    std::size_t IndexOf(std::int32_t id) const;
    void LoadControl(std::size_t index);
    void StoreControl(std::size_t index) const;
    bool IsShadowed(std::size_t index) const;
    void Changed(std::int32_t id);

    const CPageDef& m_def;
    CPageEnv m_env;
    std::vector<CControlState> m_states;
    CControlState m_unknown; // what a lookup of an id the table lacks reaches
};

} // namespace qzb
