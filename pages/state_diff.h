#pragma once

#include "machine/device_data.h"
#include "model/value_store.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

class CStringTable;

// One machine state as the window or a DAT file holds it: every setting, the directory and what
// the device told of itself.
struct CMachineState
{
    CValueStore store;
    CDeviceData device;
};

// What of two states is compared.
enum class DiffScope : std::uint8_t {
    Whole, // every setting of the store, the directory, the device information and counters
    File, // what a DAT file carries
    Upload, // what an upload outside service-man mode carries: the directory
    ServiceUpload, // what a service-man upload carries: the directory and the settings
};

// A changed setting in the terms of the page that shows it: the choice text of a combo, on/off of
// a check box, the address of an address control. A setting that no control shows is named by
// its store page and key, with its raw value, under its page's title when a page writes it.
struct CSettingChange
{
    std::string page; // the page's name (MACHINE_SET_DLG), or the store page for a raw value
    std::u16string pageTitle; // the page's tree text; empty for a value of no page
    std::string key; // the value-store item key
    std::u16string label; // the control's label, or the key
    std::u16string oldValue;
    std::u16string newValue;
};

enum class DirectoryList : std::uint8_t { Speed, Scan, Group, Favourite };
enum class EntryChange : std::uint8_t { Added, Removed, Changed };

struct CFieldChange
{
    std::string name; // as qzbctl entry names the field
    std::u16string oldValue; // empty for an added entry
    std::u16string newValue; // empty for a removed entry
};

// A directory entry that came, went or changed, with the fields that differ (every field that
// has a value, for one that came or went).
struct CDirectoryChange
{
    DirectoryList list = DirectoryList::Speed;
    std::int32_t number = 0;
    EntryChange change = EntryChange::Changed;
    std::vector<CFieldChange> fields;
    // A favourite's speed dial or group as the window names it ("group 01 'Branches'"), before and
    // after; empty on the side where the favourite is not registered, and for other lists.
    std::u16string oldTarget{};
    std::u16string newTarget{};
};

struct CStateDiff
{
    std::vector<CSettingChange> settings; // in page order, then the raw values in store order
    std::vector<CDirectoryChange> directory; // by list, then by number
    bool Empty() const { return settings.empty() && directory.empty(); }
};

// The texts and model the pages are shown with; without a table the English texts.
struct CDiffEnv
{
    const CStringTable* strings = nullptr;
    std::uint32_t modelBit = 1;
};

// The changes from before to after. Outside the Whole scope both states are first put through the
// image the scope sends or saves, so a value that image does not carry never counts as a change.
CStateDiff DiffStates(const CMachineState& before, const CMachineState& after, const CDiffEnv& env, DiffScope scope);

std::string_view DirectoryListName(DirectoryList list); // "speed", "scan", "group", "favourite"
std::string_view EntryChangeName(EntryChange change); // "added", "removed", "changed"

// "3 settings, 2 speed dials added, 1 group changed"; the no-change text when there is nothing.
std::u16string DiffSummary(const CStateDiff& diff, const CDiffEnv& env);
// One line a change, under a heading line for each page and each list; details are indented. Each
// line names the entry as the window does ("speed dial 005", "favourite 03") and never leaves a
// side of a change empty.
std::vector<std::u16string> DiffLines(const CStateDiff& diff, const CDiffEnv& env);

// The text keys the comparison's texts use, and those of the window's preview and comparison.
std::vector<std::string_view> DiffTextKeys();

} // namespace qzb
