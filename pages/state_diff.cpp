#include "pages/state_diff.h"

#include "addressbook/group_label.h"
#include "app/english_texts.h"
#include "app/string_table.h"
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"
#include "pages/page.h"
#include "pages/page_input.h"
#include "pages/page_registry.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

namespace qzb {

namespace {

using CStoreKey = std::pair<std::string, std::string>; // store page, item key

std::u16string Text(const CDiffEnv& env, std::string_view key)
{
    return TranslatedText(env.strings, key);
}

std::u16string Ascii(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

std::u16string Decimal(std::int64_t number)
{
    return Ascii(std::to_string(number));
}

// What the scope's image carries of the state, laid over base: values the image leaves out keep
// base's, so they are equal on both sides of a comparison that uses the same base.
CMachineState Carried(const CMachineState& state, const CMachineState& base, DiffScope scope, std::uint16_t today)
{
    CEncodeOptions options;
    options.mode = scope == DiffScope::File ? EncodeMode::File : EncodeMode::Upload;
    options.serviceMan = scope == DiffScope::ServiceUpload;
    options.today = today;
    CDeviceData device = state.device; // the encoder notes the widths it wrote
    const std::vector<std::uint8_t> image = EncodeMachineImage(device, state.store, options);
    CMachineState carried = base;
    carried.device.book.Clear();
    DecodeMachineImage(carried.device, carried.store, image);
    return carried;
}

// The items a control shows: four octet items for an address, else its one item.
std::vector<CStoreKey> ControlKeys(const CPage& page, const CControlDef& control)
{
    const std::string storePage(control.itemPage.empty() ? page.StorePage() : control.itemPage);
    if (!IsAddressBinding(control.binding)) {
        return {{storePage, std::string(control.item)}};
    }
    std::vector<CStoreKey> keys;
    for (char field = '1'; field <= '4'; ++field) {
        keys.push_back({storePage, std::string(control.item) + '_' + field});
    }
    return keys;
}

bool KeysDiffer(const CValueStore& a, const CValueStore& b, const std::vector<CStoreKey>& keys)
{
    return std::any_of(keys.begin(), keys.end(), [&](const CStoreKey& key) {
        return a.GetItemNumber(key.first, key.second) != b.GetItemNumber(key.first, key.second) ||
               a.GetItemTextRaw(key.first, key.second) != b.GetItemTextRaw(key.first, key.second);
    });
}

// The text beside a value control: a box's own caption, else the nearest label before it (for a
// radio group, before its first button), preferring one in the same layout row. Labels whose text
// the page computes (the value beside a slider) caption nothing.
std::u16string ControlLabel(const CPage& page, std::size_t index)
{
    const auto controls = page.Controls();
    const CControlDef& control = controls[index];
    if (control.kind == ControlKind::Check && !page.StateAt(index).text.empty()) {
        return page.StateAt(index).text;
    }
    std::size_t first = index;
    if (control.kind == ControlKind::Radio) {
        for (std::size_t i = 0; i < index; ++i) {
            if (controls[i].kind == ControlKind::Radio && controls[i].group == control.group) {
                first = i;
                break;
            }
        }
    }
    std::u16string nearest;
    for (std::size_t i = first; i-- > 0;) {
        if (controls[i].kind != ControlKind::Label || controls[i].textKey.empty() || page.StateAt(i).text.empty()) {
            continue;
        }
        if (control.row < 0 || controls[i].row == control.row) {
            return page.StateAt(i).text;
        }
        if (nearest.empty()) {
            nearest = page.StateAt(i).text;
        }
    }
    return nearest.empty() ? Ascii(control.item) : nearest;
}

// The value as the page shows it: a combo's choice text, on/off, the checked button's caption.
std::u16string ShownValue(const CPage& page, std::size_t index, const CDiffEnv& env)
{
    const auto controls = page.Controls();
    const CControlDef& control = controls[index];
    const CControlState& state = page.StateAt(index);
    switch (control.kind) {
        case ControlKind::Combo:
            for (const CChoice& choice : state.choices) {
                if (choice.value == state.value) {
                    return choice.text;
                }
            }
            break;
        case ControlKind::Check:
            return Text(env, state.value == 1 ? "STR_DIFF_ON" : "STR_DIFF_OFF");
        case ControlKind::Radio:
            for (std::size_t i = 0; i < controls.size(); ++i) {
                if (controls[i].kind == ControlKind::Radio && controls[i].group == control.group &&
                    page.StateAt(i).value == 1) {
                    return page.StateAt(i).text;
                }
            }
            return {};
        case ControlKind::Edit:
            // Passwords are named as changed, never shown.
            if (control.noCopyCut && !state.text.empty()) {
                return u"****";
            }
            break;
        default:
            break;
    }
    return ControlValueText(page, control);
}

std::u16string RawValue(const CValueStore& store, const CStoreKey& key)
{
    const std::string raw = store.GetItemTextRaw(key.first, key.second);
    if (raw.empty()) {
        return Decimal(store.GetItemNumber(key.first, key.second));
    }
    // The user name is kept in the device's panel code.
    return key.second == "USER_NAME" ? PanelBytesToText(raw, store) : store.GetItemText(key.first, key.second);
}

void DiffPage(const CPageDef& def,
              CMachineState& before,
              CMachineState& after,
              const CDiffEnv& env,
              std::set<CStoreKey>& claimed,
              std::vector<CSettingChange>& out)
{
    CPage old(def, CPageEnv{&before.store, env.strings, env.modelBit, &before.device});
    CPage now(def, CPageEnv{&after.store, env.strings, env.modelBit, &after.device});
    old.Initialise();
    now.Initialise();
    const std::u16string title = old.Text(def.titleKey);
    const auto controls = def.controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const CControlDef& control = controls[i];
        if (control.binding == Binding::None || control.item.empty() || !old.AppliesToModel(control.modelMask)) {
            continue;
        }
        const std::vector<CStoreKey> keys = ControlKeys(old, control);
        // The first control that shows an item speaks for it; a radio group's first button for the group.
        if (claimed.count(keys.front()) != 0) {
            continue;
        }
        claimed.insert(keys.begin(), keys.end());
        if (!KeysDiffer(before.store, after.store, keys)) {
            continue;
        }
        CSettingChange change{std::string(def.name), title, std::string(control.item), ControlLabel(old, i), {}, {}};
        change.oldValue = ShownValue(old, i, env);
        change.newValue = ShownValue(now, i, env);
        if (change.oldValue == change.newValue && change.oldValue != u"****") {
            // Two stored values the control shows alike: the stored values tell them apart.
            change.oldValue = RawValue(before.store, keys.front());
            change.newValue = RawValue(after.store, keys.front());
        }
        out.push_back(std::move(change));
    }
}

void DiffRawValues(const CValueStore& before,
                   const CValueStore& after,
                   const std::set<CStoreKey>& claimed,
                   std::vector<CSettingChange>& out)
{
    for (const CValuePage& page : before.Pages()) {
        std::set<std::string> seen; // a key listed twice is read where lookups reach it
        for (const CValueRecord& record : page.records) {
            const CStoreKey key{page.name, record.key};
            if (!seen.insert(record.key).second || claimed.count(key) != 0 || !KeysDiffer(before, after, {key})) {
                continue;
            }
            out.push_back({page.name, {}, record.key, Ascii(record.key), RawValue(before, key), RawValue(after, key)});
        }
    }
}

// A value a page writes through its rules rather than a bound control (the ring count, the time
// zone) is listed by its key, but under the heading of the page that shows it.
void GroupRawValuesUnderTheirPages(std::size_t firstRaw, const CDiffEnv& env, std::vector<CSettingChange>& settings)
{
    const auto defs = PageDefsForModel(env.modelBit);
    std::vector<std::size_t> order(settings.size(), defs.size());
    for (std::size_t i = 0; i < settings.size(); ++i) {
        for (std::size_t d = 0; d < defs.size(); ++d) {
            if (defs[d]->name == settings[i].page) {
                order[i] = d;
                if (i >= firstRaw) {
                    settings[i].pageTitle = Text(env, defs[d]->titleKey);
                }
                break;
            }
        }
    }
    std::vector<std::size_t> index(settings.size());
    for (std::size_t i = 0; i < index.size(); ++i) {
        index[i] = i;
    }
    std::stable_sort(index.begin(), index.end(), [&](std::size_t a, std::size_t b) { return order[a] < order[b]; });
    std::vector<CSettingChange> sorted;
    sorted.reserve(settings.size());
    for (std::size_t i : index) {
        sorted.push_back(std::move(settings[i]));
    }
    settings = std::move(sorted);
}

void DiffDeviceData(const CDeviceData& before,
                    const CDeviceData& after,
                    const CDiffEnv& env,
                    bool information,
                    std::vector<CSettingChange>& out)
{
    auto flag = [&](std::string_view key, bool old, bool now) {
        if (old != now) {
            out.push_back({"DEVICE", {}, std::string(key), Ascii(key), Decimal(old), Decimal(now)});
        }
    };
    flag("tray2Installed", before.tray2Installed, after.tray2Installed);
    flag("tray3Installed", before.tray3Installed, after.tray3Installed);
    flag("duplexInstalled", before.duplexInstalled, after.duplexInstalled);
    flag("deviceFlag", before.deviceFlag, after.deviceFlag);
    if (before.operationBlock != after.operationBlock) {
        auto hex = [](const COperationBlock& block) {
            std::u16string text;
            char pair[3];
            for (std::uint8_t byte : block) {
                std::snprintf(pair, sizeof pair, "%02x", byte);
                text += Ascii(pair);
            }
            return text;
        };
        out.push_back(
            {"DEVICE", {}, "operationBlock", u"operationBlock", hex(before.operationBlock), hex(after.operationBlock)});
    }
    if (!information) {
        return;
    }
    const auto rows = DeviceInfoRows();
    for (std::size_t i = 0; i < rows.size() && i < before.deviceInfo.size(); ++i) {
        if (before.deviceInfo[i] != after.deviceInfo[i]) {
            const std::string key = "STR_MIC_TXT_" + std::string(rows[i].label);
            out.push_back({"CONFIGURATION",
                           Text(env, "STR_TREE_MI_CONFIGURATION"),
                           std::string(rows[i].label),
                           Text(env, key),
                           before.deviceInfo[i],
                           after.deviceInfo[i]});
        }
    }
    const auto slots = CounterSlotIds();
    for (std::size_t i = 0; i < slots.size() && i < before.counters.size(); ++i) {
        if (before.counters[i] != after.counters[i]) {
            char id[16];
            std::snprintf(id, sizeof id, "0x%05X", slots[i]);
            out.push_back({"TOTAL_COUNTER",
                           Text(env, "STR_TREE_MI_TOTAL_COUNTER"),
                           id,
                           Ascii(id),
                           Decimal(before.counters[i]),
                           Decimal(after.counters[i])});
        }
    }
}

// One directory field: its name, what is shown, and what is compared.
struct CField
{
    std::string name;
    std::u16string shown;
    std::u16string compared;
};

using CFields = std::vector<CField>;

void Add(CFields& fields, std::string_view name, std::u16string value)
{
    fields.push_back({std::string(name), value, value});
}

std::u16string Clock(std::int32_t hour, std::int32_t minute)
{
    if (hour < 0 || minute < 0) {
        return {};
    }
    char text[24]; // room for any two int32 values
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(hour), static_cast<int>(minute));
    return Ascii(text);
}

// A field compared under the name its editor gives it, and an option under its word.
std::string Named(std::span<const CEntryFieldDef> defs, EntryFieldId id)
{
    return std::string(EntryFieldName(defs, id));
}

std::u16string Word(std::span<const CEntryOption> options, std::int32_t value)
{
    return Ascii(EntryOptionWord(options, value));
}

// The set date is left out: the editors stamp it themselves whenever an entry is saved.
CFields FieldsOf(const CFaxMailEntry& entry, std::int32_t language)
{
    using F = FaxMailField;
    const auto defs = CFaxMailEditor::FieldDefs();
    CFields fields;
    const bool fax = entry.kind == kKindFax;
    Add(fields, Named(defs, F::Kind), Word(kFaxMailKindOptions, fax ? kKindFax : kKindMail));
    Add(fields, Named(defs, F::Name), PanelBytesToText(entry.name.View(), language));
    Add(fields, Named(defs, fax ? F::Number : F::Address), PanelBytesToText(entry.address.View(), language));
    if (fax) {
        Add(fields,
            Named(defs, F::Speed),
            entry.faxSpeed == kFaxSpeedNotSet ? std::u16string() : Decimal(entry.faxSpeed));
        Add(fields, Named(defs, F::Batch), Clock(entry.batchHour, entry.batchMinute));
    }
    return fields;
}

CFields FieldsOf(const CScanEntry& entry, std::int32_t language)
{
    using F = ScanField;
    const auto defs = CScanEditor::FieldDefs();
    CFields fields;
    Add(fields,
        Named(defs, F::Protocol),
        Word(kScanProtocolOptions, entry.protocol == kProtocolFtp ? kProtocolFtp : kProtocolSmb));
    Add(fields, Named(defs, F::Name), PanelBytesToText(entry.name.View(), language));
    Add(fields, Named(defs, F::Server), entry.serverAddress);
    Add(fields, Named(defs, F::Directory), entry.directory);
    Add(fields, Named(defs, F::Proxy), Decimal(entry.useProxy));
    Add(fields, Named(defs, F::Port), Decimal(entry.port));
    // The file size has no field in the editor; it comes from the scanner settings.
    Add(fields, kScanFileSizeName, Decimal(entry.fileSize));
    Add(fields, Named(defs, F::Colour), Decimal(entry.colourMode));
    Add(fields, Named(defs, F::Resolution), Decimal(entry.resolution));
    Add(fields, Named(defs, F::Mode), Decimal(entry.scanMode));
    Add(fields, Named(defs, F::Format), Decimal(entry.fileFormat));
    Add(fields, Named(defs, F::Coding), Decimal(entry.codingMethod));
    Add(fields, Named(defs, F::Area), Decimal(entry.scanArea));
    Add(fields, Named(defs, F::Notify), Decimal(entry.mailNotification));
    for (std::size_t i = 0; i < entry.notificationAddresses.size(); ++i) {
        Add(fields, Named(defs, static_cast<EntryFieldId>(F::Notify1 + i)), entry.notificationAddresses[i]);
    }
    Add(fields,
        Named(defs, F::Account),
        Word(kScanAccountOptions, entry.account == kAccountAnonymous ? kAccountAnonymous : kAccountPrivateSite));
    Add(fields, Named(defs, F::User), entry.userName);
    fields.push_back({Named(defs, F::Password), entry.password.empty() ? u"" : u"****", entry.password});
    return fields;
}

CFields FieldsOf(const CGroupEntry& group, std::int32_t language)
{
    CFields fields;
    Add(fields, kGroupKindName, Word(kFaxMailKindOptions, group.kind == kKindFax ? kKindFax : kKindMail));
    Add(fields,
        Named(CGroupNameEditor::FieldDefs(), GroupNameField::Name),
        PanelBytesToText(group.name.View(), language));
    std::u16string members;
    for (std::int32_t member : group.members) {
        if (!members.empty()) {
            members += u',';
        }
        members += Decimal(member);
    }
    Add(fields, kGroupMembersName, members);
    return fields;
}

CFields FieldsOf(const CFavourite& favourite, std::int32_t)
{
    CFields fields;
    Add(fields,
        Named(CFavouriteEditor::FieldDefs(),
              favourite.targetKind == kTargetGroup ? FavouriteField::Group : FavouriteField::Speed),
        Decimal(favourite.targetNumber));
    return fields;
}

std::vector<CFieldChange> FieldChanges(const CFields* old, const CFields* now)
{
    std::vector<CFieldChange> changes;
    auto find = [](const CFields* fields, const std::string& name) -> const CField* {
        if (fields == nullptr) {
            return nullptr;
        }
        const auto it = std::find_if(fields->begin(), fields->end(), [&](const CField& f) { return f.name == name; });
        return it != fields->end() ? &*it : nullptr;
    };
    auto visit = [&](const CFields* fields) {
        if (fields == nullptr) {
            return;
        }
        for (const CField& field : *fields) {
            if (std::any_of(
                    changes.begin(), changes.end(), [&](const CFieldChange& c) { return c.name == field.name; })) {
                continue;
            }
            const CField* a = find(old, field.name);
            const CField* b = find(now, field.name);
            const std::u16string empty;
            if ((a ? a->compared : empty) != (b ? b->compared : empty)) {
                changes.push_back({field.name, a ? a->shown : empty, b ? b->shown : empty});
            }
        }
    };
    visit(old);
    visit(now);
    return changes;
}

template <typename Record>
void DiffList(DirectoryList list,
              const std::vector<Record>& before,
              const std::vector<Record>& after,
              std::int32_t oldLanguage,
              std::int32_t newLanguage,
              std::vector<CDirectoryChange>& out)
{
    // Both lists are sorted by number, so one merge walk pairs them.
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < before.size() || j < after.size()) {
        const bool takeOld = j == after.size() || (i < before.size() && before[i].number < after[j].number);
        const bool takeNew = i == before.size() || (j < after.size() && after[j].number < before[i].number);
        if (takeOld) {
            const CFields fields = FieldsOf(before[i], oldLanguage);
            out.push_back({list, before[i].number, EntryChange::Removed, FieldChanges(&fields, nullptr)});
            ++i;
        } else if (takeNew) {
            const CFields fields = FieldsOf(after[j], newLanguage);
            out.push_back({list, after[j].number, EntryChange::Added, FieldChanges(nullptr, &fields)});
            ++j;
        } else {
            const CFields old = FieldsOf(before[i], oldLanguage);
            const CFields now = FieldsOf(after[j], newLanguage);
            std::vector<CFieldChange> fields = FieldChanges(&old, &now);
            if (!fields.empty()) {
                out.push_back({list, before[i].number, EntryChange::Changed, std::move(fields)});
            }
            ++i;
            ++j;
        }
    }
}

std::u16string Replace(std::u16string text, std::u16string_view marker, std::u16string_view value)
{
    const std::size_t at = text.find(marker);
    if (at != std::u16string::npos) {
        text.replace(at, marker.size(), value);
    }
    return text;
}

constexpr std::string_view kListKeys[][2] = {
    {"STR_DIFF_SPEED_DIAL", "STR_DIFF_SPEED_DIALS"},
    {"STR_DIFF_SCAN_DESTINATION", "STR_DIFF_SCAN_DESTINATIONS"},
    {"STR_DIFF_GROUP", "STR_DIFF_GROUPS"},
    {"STR_DIFF_FAVOURITE", "STR_DIFF_FAVOURITES"},
};
constexpr std::string_view kListHeadingKeys[] = {
    "STR_DIFF_LIST_SPEED", "STR_DIFF_LIST_SCAN", "STR_DIFF_LIST_GROUP", "STR_DIFF_LIST_FAVOURITE"};
constexpr std::string_view kChangeKeys[] = {"STR_DIFF_ADDED", "STR_DIFF_REMOVED", "STR_DIFF_CHANGED"};

constexpr std::string_view kEntryKeys[] = {
    "STR_DIFF_ENTRY_SPEED", "STR_DIFF_ENTRY_SCAN", "STR_DIFF_ENTRY_GROUP", "STR_DIFF_ENTRY_FAVOURITE"};
constexpr std::string_view kNoValueKey = "STR_DIFF_NONE";
constexpr std::u16string_view kArrow = u" \u2192 ";

std::u16string Padded(std::int32_t number, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, static_cast<int>(number));
    return Ascii(text);
}

// "speed dial 005", "group 01": an entry named by its number as the tree shows it.
std::u16string EntryLabel(const CDiffEnv& env, DirectoryList list, std::int32_t number)
{
    const int width = list == DirectoryList::Speed || list == DirectoryList::Scan ? 3 : 2;
    return Replace(Text(env, kEntryKeys[static_cast<std::size_t>(list)]), u"%s", Padded(number, width));
}

// A value of a change, or the word for none, so that no side of a change reads empty.
std::u16string Side(const CDiffEnv& env, const std::u16string& value)
{
    return value.empty() ? Text(env, kNoValueKey) : value;
}

// What a favourite points to, as the window names it: "speed dial 221 'Head office'" or
// "group 01 'Branches'"; the name is left out when the target has none.
std::u16string
FavouriteTarget(const CDiffEnv& env, const CAddressBook& book, const CFavourite& favourite, std::int32_t language)
{
    const bool group = favourite.targetKind == kTargetGroup;
    std::u16string label = EntryLabel(env, group ? DirectoryList::Group : DirectoryList::Speed, favourite.targetNumber);
    std::u16string name;
    if (group) {
        const CGroupEntry* entry = book.FindGroup(favourite.targetNumber);
        if (entry != nullptr && !entry->name.Empty()) {
            name = GroupDisplayLabel(entry, favourite.targetNumber, Text(env, kGroupLabelKey), language);
        }
    } else if (const CFaxMailEntry* entry = book.FindFaxMailEntry(favourite.targetNumber)) {
        name = PanelBytesToText(entry->name.View(), language);
    } else if (const CScanEntry* scan = book.FindScanEntry(favourite.targetNumber)) {
        name = PanelBytesToText(scan->name.View(), language);
    }
    return name.empty() ? label : label + u" '" + name + u"'";
}

const CFavourite* FindFavourite(const CAddressBook& book, std::int32_t slot)
{
    const auto& favourites = book.Favourites();
    const auto it = std::find_if(
        favourites.begin(), favourites.end(), [slot](const CFavourite& favourite) { return favourite.number == slot; });
    return it != favourites.end() ? &*it : nullptr;
}

std::u16string CountText(const CDiffEnv& env, std::size_t count, std::string_view one, std::string_view many)
{
    return Replace(Text(env, count == 1 ? one : many), u"%d", Decimal(static_cast<std::int64_t>(count)));
}

} // namespace

CStateDiff DiffStates(const CMachineState& before, const CMachineState& after, const CDiffEnv& env, DiffScope scope)
{
    CMachineState old = before;
    CMachineState now = after;
    if (scope != DiffScope::Whole) {
        const std::uint16_t today = PackDeviceDate();
        old = Carried(before, before, scope, today);
        now = Carried(after, before, scope, today);
    }
    CStateDiff diff;
    std::set<CStoreKey> claimed;
    for (const CPageDef* def : PageDefsForModel(env.modelBit)) {
        if (def->pageClass != PageClass::Information) {
            DiffPage(*def, old, now, env, claimed, diff.settings);
        }
    }
    const std::size_t shown = diff.settings.size();
    DiffRawValues(old.store, now.store, claimed, diff.settings);
    GroupRawValuesUnderTheirPages(shown, env, diff.settings);
    DiffDeviceData(old.device, now.device, env, scope == DiffScope::Whole, diff.settings);

    const std::int32_t oldLanguage = PanelLanguage(old.store);
    const std::int32_t newLanguage = PanelLanguage(now.store);
    const CAddressBook& a = old.device.book;
    const CAddressBook& b = now.device.book;
    DiffList(DirectoryList::Speed, a.FaxMailEntries(), b.FaxMailEntries(), oldLanguage, newLanguage, diff.directory);
    DiffList(DirectoryList::Scan, a.ScanEntries(), b.ScanEntries(), oldLanguage, newLanguage, diff.directory);
    DiffList(DirectoryList::Group, a.Groups(), b.Groups(), oldLanguage, newLanguage, diff.directory);
    DiffList(DirectoryList::Favourite, a.Favourites(), b.Favourites(), oldLanguage, newLanguage, diff.directory);
    for (CDirectoryChange& change : diff.directory) {
        if (change.list != DirectoryList::Favourite) {
            continue;
        }
        if (const CFavourite* favourite = FindFavourite(a, change.number)) {
            change.oldTarget = FavouriteTarget(env, a, *favourite, oldLanguage);
        }
        if (const CFavourite* favourite = FindFavourite(b, change.number)) {
            change.newTarget = FavouriteTarget(env, b, *favourite, newLanguage);
        }
    }
    return diff;
}

std::string_view DirectoryListName(DirectoryList list)
{
    switch (list) {
        case DirectoryList::Speed:
            return "speed";
        case DirectoryList::Scan:
            return "scan";
        case DirectoryList::Group:
            return "group";
        case DirectoryList::Favourite:
            return "favourite";
    }
    return "speed";
}

std::string_view EntryChangeName(EntryChange change)
{
    switch (change) {
        case EntryChange::Added:
            return "added";
        case EntryChange::Removed:
            return "removed";
        case EntryChange::Changed:
            return "changed";
    }
    return "changed";
}

std::u16string DiffSummary(const CStateDiff& diff, const CDiffEnv& env)
{
    if (diff.Empty()) {
        return Text(env, "STR_DIFF_NO_CHANGES");
    }
    std::vector<std::u16string> parts;
    if (!diff.settings.empty()) {
        parts.push_back(CountText(env, diff.settings.size(), "STR_DIFF_SETTING", "STR_DIFF_SETTINGS"));
    }
    for (std::size_t list = 0; list < std::size(kListKeys); ++list) {
        for (std::size_t change = 0; change < std::size(kChangeKeys); ++change) {
            const auto count = static_cast<std::size_t>(
                std::count_if(diff.directory.begin(), diff.directory.end(), [&](const CDirectoryChange& entry) {
                    return static_cast<std::size_t>(entry.list) == list &&
                           static_cast<std::size_t>(entry.change) == change;
                }));
            if (count > 0) {
                parts.push_back(Replace(CountText(env, count, kListKeys[list][0], kListKeys[list][1]),
                                        u"%s",
                                        Text(env, kChangeKeys[change])));
            }
        }
    }
    std::u16string summary;
    for (const std::u16string& part : parts) {
        if (!summary.empty()) {
            summary += u", ";
        }
        summary += part;
    }
    return summary;
}

std::vector<std::u16string> DiffLines(const CStateDiff& diff, const CDiffEnv& env)
{
    std::vector<std::u16string> lines;
    std::string page;
    for (const CSettingChange& change : diff.settings) {
        if (lines.empty() || change.page != page) {
            page = change.page;
            lines.push_back(change.pageTitle.empty() ? Ascii(page) : change.pageTitle + u" (" + Ascii(page) + u")");
        }
        const std::u16string key = Ascii(change.key);
        std::u16string line = u"  ";
        line += change.label == key ? key : change.label + u" (" + key + u")";
        line += u": ";
        line += Side(env, change.oldValue);
        line += kArrow;
        line += Side(env, change.newValue);
        lines.push_back(std::move(line));
    }
    bool first = true;
    DirectoryList list = DirectoryList::Speed;
    for (const CDirectoryChange& change : diff.directory) {
        if (first || change.list != list) {
            first = false;
            list = change.list;
            lines.push_back(Text(env, kListHeadingKeys[static_cast<std::size_t>(list)]));
        }
        std::u16string line = u"  ";
        line += EntryLabel(env, change.list, change.number);
        line += u' ';
        line += Text(env, kChangeKeys[static_cast<std::size_t>(change.change)]);
        line += u": ";
        if (change.list == DirectoryList::Favourite) {
            // A favourite is what it points to: one target for another, in the tree's words.
            if (change.change == EntryChange::Changed) {
                line += Side(env, change.oldTarget) + std::u16string(kArrow) + Side(env, change.newTarget);
            } else {
                line += Side(env, change.change == EntryChange::Added ? change.newTarget : change.oldTarget);
            }
            lines.push_back(std::move(line));
            continue;
        }
        for (std::size_t i = 0; i < change.fields.size(); ++i) {
            const CFieldChange& field = change.fields[i];
            line += i == 0 ? u"" : u", ";
            line += Ascii(field.name);
            line += u' ';
            if (change.change == EntryChange::Changed) {
                line += Side(env, field.oldValue) + std::u16string(kArrow) + Side(env, field.newValue);
            } else {
                line += Side(env, change.change == EntryChange::Added ? field.newValue : field.oldValue);
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string_view> DiffTextKeys()
{
    std::vector<std::string_view> keys = {"STR_DIFF_ON",
                                          "STR_DIFF_OFF",
                                          "STR_DIFF_NO_CHANGES",
                                          "STR_DIFF_SETTING",
                                          "STR_DIFF_SETTINGS",
                                          "STR_TREE_MI_CONFIGURATION",
                                          "STR_TREE_MI_TOTAL_COUNTER",
                                          "STR_PREVIEW_UPLOAD_TITLE",
                                          "STR_PREVIEW_COMPARE_TITLE",
                                          "STR_PREVIEW_UPLOAD_QUESTION",
                                          "STR_PREVIEW_UPLOAD_ANYWAY",
                                          "STR_PREVIEW_DEVICE_UNKNOWN",
                                          "STR_PREVIEW_UNKNOWN_QUESTION",
                                          "STR_PREVIEW_COMPARE_NOTE",
                                          "STR_PREVIEW_UPLOAD",
                                          "STR_PREVIEW_CANCEL",
                                          "STR_PREVIEW_CLOSE",
                                          "STR_MENU_COMPARE_WITH_DEVICE",
                                          kNoValueKey,
                                          kGroupLabelKey};
    keys.insert(keys.end(), std::begin(kEntryKeys), std::end(kEntryKeys));
    keys.insert(keys.end(), std::begin(kListHeadingKeys), std::end(kListHeadingKeys));
    for (const auto& pair : kListKeys) {
        keys.insert(keys.end(), {pair[0], pair[1]});
    }
    keys.insert(keys.end(), std::begin(kChangeKeys), std::end(kChangeKeys));
    return keys;
}

} // namespace qzb
