#pragma once

#include "base/message_codes.h"

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

enum class EntryFieldKind : std::uint8_t {
    Text, // an edit with a limit and an input kind
    Choice, // radios or a choice list: one of the options' values
    Switch, // a check box, 0 or 1
    Special, // the editor parses the value itself (batch time, group list, list row)
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

struct CEntryFieldDef
{
    std::string_view name; // the widget's and qzbctl's name for the field
    EntryFieldKind kind = EntryFieldKind::Text;
    std::string_view textKey = {}; // the label
    std::int32_t limit = 0; // Text: at most this many characters
    std::int32_t inputKind = 0; // Text: the typing filter and the character check; 0 none
    std::span<const CEntryOption> options = {};
};

// One field as the editor shows it now.
struct CEntryField
{
    const CEntryFieldDef* def = nullptr;
    std::u16string text; // Text and Special fields
    std::int32_t value = 0; // Choice (-1 without selection) and Switch fields
    bool visible = true;
    bool enabled = true;
    std::vector<CEntryOption> offered; // Choice: the options offered now, in display order
};

// A refusal of the OK step (or of a step that shows a message at once): the message and the field
// to focus with its whole text selected.
struct CEntryResult
{
    MessageCode code = kOk;
    std::string_view field = {};
    bool Ok() const { return code == kOk; }
};

// Why a value given for a field by name was not taken, before any check of the OK step.
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

std::string_view EntryRefusalText(EntryRefusal refusal);

// Exactly one "@", neither first nor last.
bool IsEmailSyntaxValid(std::u16string_view address);

// The fields of one editor and the value handling every editor shares.
class CEntryForm
{
public:
    const std::vector<CEntryField>& Fields() const { return m_fields; }
    const CEntryField* Find(std::string_view name) const;
    const std::u16string& Text(std::string_view name) const;
    std::int32_t Value(std::string_view name) const;

protected:
    explicit CEntryForm(std::span<const CEntryFieldDef> defs);
    CEntryField& Field(std::string_view name);
    // Takes a Text, Choice or Switch value as a user would set it; Special fields are the editor's.
    EntryRefusal ApplyValue(CEntryField& field, std::u16string_view value);
    // The character check of the field's input kind, as the OK step runs it first.
    bool TextPasses(std::string_view name, const CValueStore& store) const;
    void Show(std::string_view name, bool visible);
    void Enable(std::string_view name, bool enabled);

private:
    std::vector<CEntryField> m_fields;
};

} // namespace qzb
