#pragma once

#include "app/model_profile.h"
#include "base/message_codes.h"
#include "model/input_chars.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

class CPage;
class CValueStore;

enum class ControlKind : std::uint8_t { Label, Edit, Combo, Check, Radio, Slider, Address, Button, List };

// How a control's value travels to and from its value-store item.
enum class Binding : std::uint8_t {
    None, // not bound: labels, buttons, values the page's own rules fill
    Text, // the item's text
    Number, // the item's number shown in decimal, zero-padded to numberWidth
    NumberOrEmpty, // as Number; -1 shows as an empty edit and an empty edit stores -1
    PanelText, // the item's text held in the device's panel code (the user name)
    Check, // 1 when checked, 0 when not; loads as checked only on exactly 1
    CheckNonZero, // 1 when checked, 0 when not; loads as checked on any value but 0
    CheckInverted, // 0 when checked, 1 when not; loads as checked on any value but 1
    Radio, // the button's radioValue; the group's fallback button takes values no button has
    Combo, // the selected option's stored value; a stored value no option has selects the first
    Slider, // stored value = position + offset; a stored value off the range loads as position 0
    Address, // four octets in the items <item>_1 ... <item>_4
    AddressNoneMinusOne, // as Address; empty is -1 in <item>_1 and 0 in the rest (the gateway's "none")
    AddressNoneZero, // as Address; empty is 0.0.0.0, and 0.0.0.0 loads as empty (an unset server)
};

constexpr bool IsAddressBinding(Binding binding)
{
    return binding == Binding::Address || binding == Binding::AddressNoneMinusOne ||
           binding == Binding::AddressNoneZero;
}

// A check the engine runs on a control before the page's own checks, in table order.
enum class CheckRule : std::uint8_t {
    None,
    Text, // the input kind's text check
    Range, // the decimal value within minimum ... maximum
    Email, // the e-mail address rule
    ExactLength, // exactly limit characters, each passing the input kind's text check
};

// One option of a choice list: the text key, the stored value and the models that are offered it.
struct CChoiceDef
{
    std::string_view textKey = {};
    std::int32_t value = 0;
    std::uint32_t modelMask = kEveryModelMask;
};

// One control of a page or setting dialog, in label-table (and tab) order. The id is the one label
// tables and check results name; the name is the widget's object name and the name qzbctl takes.
struct CControlDef
{
    std::int32_t id = 0;
    ControlKind kind = ControlKind::Label;
    std::string_view name = {};
    std::string_view textKey = {}; // empty: the page's rules set the text, or it has none
    std::uint32_t modelMask = kEveryModelMask;
    bool hideExcluded = false; // shown and enabled only for the models of modelMask
    Binding binding = Binding::None;
    std::string_view item = {}; // value-store key
    std::string_view itemPage = {}; // value-store page when it is not the page's own
    std::int32_t limit = 0; // edit: at most this many characters (0: the engine's default)
    InputKind inputKind = InputKind::None; // edit: the typing filter and text check
    std::int32_t group = 0; // radio: the buttons of one group share it
    std::int32_t radioValue = 0;
    bool fallback = false; // radio: checked for stored values no other button of the group has
    std::int32_t minimum = 0; // slider range, or the range of a Range check
    std::int32_t maximum = 0;
    std::int32_t offset = 0; // slider: stored value = position + offset
    std::int32_t numberWidth = 0; // Number binding: zero-padded width
    std::span<const CChoiceDef> choices = {};
    CheckRule check = CheckRule::None;
    MessageCode checkCode = kMsgInvalidRangeValue;
    std::int32_t row = -1; // layout row; -1: the row after the previous control
    std::int32_t column = 0; // layout column (0 labels, 1 values, 2 further values)
    bool noCopyCut = false; // password edits
    bool heading = false; // a label that heads a group of rows
    bool readOnly = false; // shown from its item, never written back, takes no input
    // Password edits: a changed text that fails the input kind's text check puts the last good text back.
    bool keepLastGood = false;
    // The setting dialog (its page name) that checking the box or pressing the button opens. Without a
    // screen the dialog counts as closed with OK and its values unchanged, so the engine does nothing.
    std::string_view opensDialog = {};
    // The value that opens opensDialog: a check box's 1 (checked), or the option a combo opens it
    // for. A button opens its dialog whenever it is pressed.
    std::int32_t dialogValue = 1;
    // An edit that hands the focus on once it holds limit characters (hour to minute on the user
    // page): the control that takes it, with its text selected; 0 for none.
    std::int32_t focusOnFull = 0;
};

// CCheckResult::field for an address control: 0-3 name an octet, this one the first empty field.
inline constexpr std::int32_t kFirstEmptyField = 4;

// The first failed check of a Store: its message code and the control that holds the bad value.
struct CCheckResult
{
    MessageCode code = kOk;
    std::int32_t controlId = 0;
    std::int32_t field = -1; // address controls: the field to focus, 0-3 or kFirstEmptyField; else -1
    // The values the message names, one for each "%s" in turn: the limits, the value as typed.
    std::vector<std::u16string> inserts = {};
    bool Ok() const { return code == kOk; }
};

// What a page adds to the generic engine: small functions beside its table. Every hook is optional.
struct CPageRules
{
    void (*afterLoad)(CPage& page) = nullptr; // enabling, computed texts
    void (*onChange)(CPage& page, std::int32_t controlId) = nullptr; // reactions to a user change
    CCheckResult (*check)(const CPage& page) = nullptr; // after the controls' own checks
    // After the checks passed, before any write: what depends on the values the store still holds.
    void (*beforeStore)(const CPage& page, CValueStore& store) = nullptr;
    void (*afterStore)(const CPage& page, CValueStore& store) = nullptr; // writes no binding expresses
    // A bound control whose item keeps what the store holds at this store: a field that was left
    // unchecked (its group switched off) and holds a value its item cannot carry.
    bool (*keepsStored)(const CPage& page, const CControlDef& control) = nullptr;
    // Whether an edit takes a changed text (a date edit refusing a 13th month as it is typed); a
    // refused change leaves the text the edit held.
    bool (*acceptsText)(const CPage& page, std::int32_t controlId, std::u16string_view text) = nullptr;
};

enum class PageClass : std::uint8_t { Settings, Information, SettingDialog };

// A settings page, information page or setting dialog, described once for every front end.
struct CPageDef
{
    std::string_view name = {}; // value-store page name, or TOTAL_COUNTER / CONFIGURATION
    std::string_view className = {};
    std::uint32_t typeCode = 0; // 0 for setting dialogs
    PageClass pageClass = PageClass::Settings;
    std::string_view titleKey = {}; // tree text or dialog caption
    std::string_view ratioKey = {};
    std::uint32_t modelMask = kEveryModelMask; // the models whose tree has the page
    std::span<const CControlDef> controls = {};
    const CPageRules* rules = nullptr;
    std::string_view storePage = {}; // value-store page when it differs from name
};

inline constexpr std::uint32_t kSettingsPageBit = 0x02000000;
inline constexpr std::uint32_t kInformationPageBit = 0x04000000;

} // namespace qzb
