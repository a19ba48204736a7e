#pragma once

#include "addressbook/entry_checks.h"
#include "addressbook/mail_address.h"
#include "base/message_codes.h"
#include "model/input_chars.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

class CStringTable;
class CValueStore;

// What an address-book entry editor reads besides the book: the values (panel language, scanner and
// e-mail settings), the texts (group labels) and the running model.
struct CEntryEnv
{
    const CValueStore* store = nullptr;
    const CStringTable* strings = nullptr; // no table: group labels fall back to "Group %02d"
    std::uint32_t modelBit = 1;
};

// The format of a group's numbered label ("Group %02d") as the editors' texts give it; a group's
// display label everywhere is GroupDisplayLabel with this format.
std::u16string GroupLabelFormat(const CEntryEnv& env);

// A field of an entry editor: its row in the editor's table. Each editor names its rows with the
// ids of its own field enum (FaxMailField::Name ...).
using EntryFieldId = std::uint8_t;
inline constexpr EntryFieldId kNoEntryField = 0xFF;

enum class EntryFieldKind : std::uint8_t {
    Text, // an edit with a limit and an input kind
    Choice, // radios or a choice list: one of the options' values
    Switch, // a check box, 0 or 1
    Time, // an hour and a minute, or neither (the batch time of a fax)
    GroupList, // the checked rows of the group check list, as group numbers
    Row, // a row of a list of candidates by its number; the one option's value names the list
};

// One option of a radio group or choice list. The word is what qzbctl takes and shows for radios;
// choice lists go by their stored value. The masks filter the options the editor offers.
struct CEntryOption
{
    std::string_view word = {};
    std::string_view textKey = {};
    std::int32_t value = 0;
    std::uint32_t modelMask = 0xFFFFFFFF;
    std::uint32_t colourMask = 0xFFFFFFFF;
};

inline constexpr std::uint8_t kEntrySecret = 1; // Text: shown as "*"
inline constexpr std::uint8_t kEntryInDetails = 2; // set in the details dialog, shown read-only

struct CEntryFieldDef
{
    EntryFieldId id = kNoEntryField; // equals the row in the table
    std::string_view name; // the one name of the field: widgets, qzbctl, dump and the comparison
    EntryFieldKind kind = EntryFieldKind::Text;
    std::string_view textKey = {}; // the label
    std::int32_t limit = 0; // Text: at most this many characters
    InputKind inputKind = InputKind::None; // Text: the typing filter and the character check
    std::span<const CEntryOption> options = {};
    std::uint8_t flags = 0;
    std::string_view frameKey = {}; // the title of the frame this field opens: drawn above it
    std::string_view noteKey = {}; // a text beside the field (the range a number takes)
};

// True when every field's id is its row, as the editors' field enums require.
constexpr bool IdsAreRows(std::span<const CEntryFieldDef> defs)
{
    for (std::size_t row = 0; row < defs.size(); ++row) {
        if (defs[row].id != row) {
            return false;
        }
    }
    return true;
}

// The name of a field of an editor's table.
inline std::string_view EntryFieldName(std::span<const CEntryFieldDef> defs, EntryFieldId id)
{
    return defs[id].name;
}

// The option with this value, or null.
const CEntryOption* FindEntryOption(std::span<const CEntryOption> options, std::int32_t value);
// The word of the option with this value; empty for a value without one.
std::string_view EntryOptionWord(std::span<const CEntryOption> options, std::int32_t value);

// One field as the editor shows it now.
struct CEntryField
{
    const CEntryFieldDef* def = nullptr;
    std::u16string text; // Text fields; Choice, Time fields: what a read-only view shows
    std::int32_t value = 0; // Choice (-1 without selection), Switch and Row (0 without selection)
    std::vector<std::int32_t> list; // GroupList: the checked group numbers, ascending
    bool visible = true;
    bool enabled = true;
    std::vector<CEntryOption> offered; // Choice: the options offered now, in display order
    std::string_view labelKey; // the label now (a field may change its label with the entry)
    std::string_view frameKey; // the title of the frame the field opens now; empty for none
    InputKind inputKind = InputKind::None; // Text: the typing filter and character check now
};

// A refusal of the OK step (or of a step that shows a message at once): the message and the field
// to focus with its whole text selected.
struct CEntryResult
{
    MessageCode code = kOk;
    EntryFieldId field = kNoEntryField;
    bool Ok() const { return code == kOk; }
};

// Why a value given for a field was not taken, before any check of the OK step.
enum class EntryRefusal : std::uint8_t { None, UnknownField, Hidden, Disabled, NotInList, TooLong, BadValue };

struct CEntryInput
{
    CEntryInput() = default;
    CEntryInput(EntryRefusal why, CEntryResult shown = {})
        : refusal(why)
        , message(shown)
    {
    }

    EntryRefusal refusal = EntryRefusal::None;
    CEntryResult message; // a message the input showed at once (a group the admission checks refuse)
};

// The fields of one editor, and the typed setters through which the window and qzbctl change them
// as a user would; each editor adds its reactions. A setter refuses a hidden or disabled field, a
// field of another kind, a text over the limit and an option not offered now, and changes nothing.
class CEntryForm
{
public:
    virtual ~CEntryForm() = default;

    const std::vector<CEntryField>& Fields() const { return m_fields; }
    // Null for an id the editor does not have.
    const CEntryField* Find(EntryFieldId id) const;
    const CEntryField& Field(EntryFieldId id) const { return m_fields[id]; }
    const std::u16string& Text(EntryFieldId id) const { return m_fields[id].text; }
    std::int32_t Value(EntryFieldId id) const { return m_fields[id].value; }

    CEntryInput SetText(EntryFieldId id, std::u16string_view text);
    CEntryInput Choose(EntryFieldId id, std::int32_t value);
    CEntryInput Check(EntryFieldId id, bool checked);
    // Hour and minute, -1 for a part not given; both -1 is no time.
    CEntryInput SetTime(EntryFieldId id, std::int32_t hour, std::int32_t minute);
    // The group numbers to be checked, the others unchecked.
    CEntryInput SetGroups(EntryFieldId id, std::span<const std::int32_t> groups);
    // Chooses the field's list and selects the row with this number.
    CEntryInput ChooseRow(EntryFieldId id, std::int32_t number);

    // Typing rules of a text field: false when the edit puts the previous text back.
    virtual bool TextAccepted(EntryFieldId, std::u16string_view) const { return true; }
    // The field the focus moves to once the text is complete there; kNoEntryField to stay.
    virtual EntryFieldId FocusAfter(EntryFieldId) const { return kNoEntryField; }
    // The field loses the focus: its text may be completed (an hour "7" becomes "07").
    virtual void Leave(EntryFieldId) { }

protected:
    explicit CEntryForm(std::span<const CEntryFieldDef> defs);
    CEntryField& Edit(EntryFieldId id) { return m_fields[id]; }
    // A field's value changed through a setter; `previous` is its value before.
    virtual CEntryInput Changed(EntryFieldId, std::int32_t /*previous*/) { return {}; }
    virtual CEntryInput ApplyTime(EntryFieldId, std::int32_t, std::int32_t) { return {EntryRefusal::BadValue}; }
    virtual CEntryInput ApplyGroups(EntryFieldId, std::span<const std::int32_t>) { return {EntryRefusal::BadValue}; }
    virtual CEntryInput ApplyRow(EntryFieldId, std::int32_t) { return {EntryRefusal::BadValue}; }
    // The character check of the field's input kind, as the OK step runs it first.
    bool TextPasses(EntryFieldId id, const CValueStore& store) const;
    void Show(EntryFieldId id, bool visible);
    void Enable(EntryFieldId id, bool enabled);

private:
    // Null with the refusal when the field cannot take a value of this kind now.
    CEntryField* Settable(EntryFieldId id, EntryFieldKind kind, EntryRefusal* refusal);

    std::vector<CEntryField> m_fields;
};

} // namespace qzb
