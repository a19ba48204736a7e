#include "pages/state_diff.h"

#include "app/app_context.h"
#include "app/english_texts.h"
#include "model/model_defaults.h"
#include "model/operation_seed.h"
#include "pages/page.h"
#include "pages/page_input.h"
#include "pages/page_registry.h"
#include "tests/support/models.h"
#include "tests/support/page_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace qzb {
namespace {

struct CTestState
{
    explicit CTestState(std::int32_t model)
        : context(model)
    {
        ApplyModelDefaults(context.store, context.modelBit);
        SeedFromOperationBlock(context.device.operationBlock, context.store);
        CFaxMailEntry fax;
        fax.number = 3;
        fax.name.Assign("Office");
        fax.address.Assign("0123-45");
        context.device.book.PutFaxMailEntry(fax);
        CScanEntry scan;
        scan.number = 221;
        scan.name.Assign("Share");
        scan.serverAddress = u"10.0.0.9";
        scan.password = u"secret";
        context.device.book.PutScanEntry(scan);
        context.device.book.SetGroupMembership(2, 3, true, kKindFax);
        context.device.book.AddFavourite(1, kTargetGroup, 2);
    }
    CMachineState State() const { return {context.store, context.device}; }
    CDiffEnv Env() const { return {&context.strings, context.modelBit}; }
    CAppContext context;
};

std::multiset<std::string> ChangedKeys(const CStateDiff& diff)
{
    std::multiset<std::string> keys;
    for (const CSettingChange& change : diff.settings) {
        keys.insert(change.page + "/" + change.key);
    }
    return keys;
}

TEST(StateDiff, EqualStatesGiveNothingInAnyScope)
{
    for (std::int32_t model : kModels) {
        const CTestState state(model);
        for (DiffScope scope : {DiffScope::Whole, DiffScope::File, DiffScope::Upload, DiffScope::ServiceUpload}) {
            const CStateDiff diff = DiffStates(state.State(), state.State(), state.Env(), scope);
            EXPECT_TRUE(diff.Empty()) << model << " scope " << int(scope) << ": "
                                      << (diff.settings.empty() ? "" : diff.settings[0].key);
        }
    }
}

// The value a control shows after a change, as the comparison must name it.
std::u16string Shown(const CPage& page, const CControlDef& control)
{
    const CControlState& state = page.State(control.id);
    switch (control.kind) {
        case ControlKind::Combo:
            for (const CChoice& choice : state.choices) {
                if (choice.value == state.value) {
                    return choice.text;
                }
            }
            return {};
        case ControlKind::Check:
            return state.value == 1 ? u"on" : u"off";
        case ControlKind::Radio:
            return state.text;
        default:
            return ControlValueText(page, control);
    }
}

// One user change on a random control of a random page: reported once, under that page, in the
// page's own terms, and nothing is reported twice.
TEST(StateDiff, EverySingleChangeIsReportedOnceInThePagesTerms)
{
    std::mt19937 random(20261208);
    int checked = 0;
    for (std::int32_t model : kModels) {
        std::vector<const CPageDef*> pages;
        for (const CPageDef* def : PageDefsForModel(CTestState(model).context.modelBit)) {
            if (def->pageClass != PageClass::Information) {
                pages.push_back(def);
            }
        }
        for (int round = 0; round < 40; ++round) {
            CTestState before(model);
            CTestState after(model);
            const CPageDef& def = *pages[random() % pages.size()];
            CPage page(def, EnvOf(after.context));
            page.Initialise();
            std::vector<const CControlDef*> candidates;
            for (const CControlDef& control : def.controls) {
                const CControlState& state = page.State(control.id);
                const bool editable = control.kind == ControlKind::Combo || control.kind == ControlKind::Check ||
                                      control.kind == ControlKind::Radio || control.kind == ControlKind::Slider ||
                                      control.kind == ControlKind::Address;
                if (editable && control.binding != Binding::None && !control.readOnly && state.visible &&
                    state.enabled && page.AppliesToModel(control.modelMask)) {
                    candidates.push_back(&control);
                }
            }
            if (candidates.empty()) {
                continue;
            }
            const CControlDef& control = *candidates[random() % candidates.size()];
            const CControlState& state = page.State(control.id);
            if (control.kind == ControlKind::Combo) {
                if (state.choices.size() < 2) {
                    continue;
                }
                std::int32_t value = state.value;
                while (value == state.value) {
                    value = state.choices[random() % state.choices.size()].value;
                }
                page.SetValue(control.id, value);
            } else if (control.kind == ControlKind::Check) {
                page.SetValue(control.id, state.value == 1 ? 0 : 1);
            } else if (control.kind == ControlKind::Radio) {
                if (state.value == 1) {
                    continue;
                }
                page.SetValue(control.id, 1);
            } else if (control.kind == ControlKind::Slider) {
                if (control.maximum <= control.minimum) {
                    continue;
                }
                page.SetValue(control.id, state.value == control.minimum ? control.maximum : control.minimum);
            } else {
                const auto octet = static_cast<std::int16_t>(1 + random() % 200);
                page.SetOctets(control.id, {10, octet, 3, 4});
            }
            if (!page.Store().Ok()) {
                continue;
            }
            const std::u16string expected = Shown(page, control);
            const CStateDiff diff = DiffStates(before.State(), after.State(), before.Env(), DiffScope::Whole);
            const std::multiset<std::string> keys = ChangedKeys(diff);
            for (const std::string& key : keys) {
                EXPECT_EQ(keys.count(key), 1u) << key << " reported twice";
            }
            const auto found = std::find_if(diff.settings.begin(), diff.settings.end(), [&](const CSettingChange& c) {
                return c.key == control.item;
            });
            if (found == diff.settings.end()) {
                // The page put back what the store held (a value the page shows alike): no change.
                EXPECT_EQ(before.context.store.GetItemNumber(page.StorePage(), control.item),
                          after.context.store.GetItemNumber(page.StorePage(), control.item));
                continue;
            }
            ++checked;
            EXPECT_EQ(found->page, def.name) << control.item;
            EXPECT_EQ(found->newValue, expected) << def.name << "/" << control.item;
            EXPECT_NE(found->oldValue, found->newValue) << def.name << "/" << control.item;
            EXPECT_FALSE(found->label.empty());
            EXPECT_TRUE(DiffStates(after.State(), after.State(), after.Env(), DiffScope::Whole).Empty());
        }
    }
    EXPECT_GT(checked, 60);
}

// A slider with no label of its own in its row takes the label of its group, never the value
// that the page writes beside another slider ("0", "2").
TEST(StateDiff, ASliderIsCaptionedByALabelNotByAValueBesideAnotherSlider)
{
    const CTestState before(8313);
    CTestState after(8313);
    after.context.store.SetItemNumber(
        "COPY_SET_DLG",
        "COPY1_DENSITY_LEVEL_MANUAL",
        before.context.store.GetItemNumber("COPY_SET_DLG", "COPY1_DENSITY_LEVEL_MANUAL") == 1 ? 2 : 1);
    const CStateDiff diff = DiffStates(before.State(), after.State(), after.Env(), DiffScope::Whole);
    ASSERT_EQ(diff.settings.size(), 1u);
    EXPECT_EQ(diff.settings[0].key, "COPY1_DENSITY_LEVEL_MANUAL");
    EXPECT_EQ(diff.settings[0].label, EnglishText("STR_CPS_TXT_DENSITY_PRIORITY"));
}

TEST(StateDiff, TheScopeLeavesOutWhatItsImageDoesNotCarry)
{
    const CTestState before(2152);
    CTestState after(2152);
    after.context.store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", 2);
    after.context.device.book.DeleteScanEntry(221);
    // Never part of the machine image.
    const CValueRecord& loose = after.context.store.FindPageRecords("SD_PASS_DLG")->front();
    after.context.store.SetItemText("SD_PASS_DLG", loose.key, u"changed");

    const auto keysIn = [&](DiffScope scope) {
        return ChangedKeys(DiffStates(before.State(), after.State(), before.Env(), scope));
    };
    const std::string language = "MACHINE_SET_DLG/Machine_Language";
    EXPECT_EQ(keysIn(DiffScope::Whole).count(language), 1u);
    EXPECT_EQ(keysIn(DiffScope::Whole).count("SD_PASS_DLG/" + loose.key), 1u);
    EXPECT_EQ(keysIn(DiffScope::File), std::multiset<std::string>{language});
    EXPECT_EQ(keysIn(DiffScope::ServiceUpload), std::multiset<std::string>{language});
    EXPECT_TRUE(keysIn(DiffScope::Upload).empty());
    for (DiffScope scope : {DiffScope::Whole, DiffScope::File, DiffScope::Upload, DiffScope::ServiceUpload}) {
        const CStateDiff diff = DiffStates(before.State(), after.State(), before.Env(), scope);
        ASSERT_EQ(diff.directory.size(), 1u) << int(scope);
        EXPECT_EQ(diff.directory[0].list, DirectoryList::Scan);
        EXPECT_EQ(diff.directory[0].change, EntryChange::Removed);
    }
    const CStateDiff file = DiffStates(before.State(), after.State(), before.Env(), DiffScope::File);
    EXPECT_EQ(file.settings[0].oldValue, u"English");
    EXPECT_EQ(file.settings[0].newValue, u"German");
}

struct CBookChange
{
    const char* name;
    void (*apply)(CAddressBook& book);
    DirectoryList list;
    std::int32_t number;
    EntryChange change;
    std::map<std::string, std::pair<std::u16string, std::u16string>> fields;
};

const CBookChange kBookChanges[] = {
    {"fax added",
     [](CAddressBook& book) {
         CFaxMailEntry entry;
         entry.number = 9;
         entry.kind = kKindMail;
         entry.faxSpeed = 0;
         entry.name.Assign("Bob");
         entry.address.Assign("bob@example.test");
         book.PutFaxMailEntry(entry);
     },
     DirectoryList::Speed,
     9,
     EntryChange::Added,
     {{"kind", {u"", u"email"}}, {"name", {u"", u"Bob"}}, {"address", {u"", u"bob@example.test"}}}},
    {"fax number changed",
     [](CAddressBook& book) {
         CFaxMailEntry entry = *book.FindFaxMailEntry(3);
         entry.address.Assign("999");
         entry.batchHour = 9;
         entry.batchMinute = 5;
         book.PutFaxMailEntry(entry);
     },
     DirectoryList::Speed,
     3,
     EntryChange::Changed,
     {{"number", {u"0123-45", u"999"}}, {"batch", {u"", u"09:05"}}}},
    {"scan password changed",
     [](CAddressBook& book) {
         CScanEntry entry = *book.FindScanEntry(221);
         entry.password = u"other";
         book.PutScanEntry(entry);
     },
     DirectoryList::Scan,
     221,
     EntryChange::Changed,
     {{"password", {u"****", u"****"}}}},
    {"group renamed",
     [](CAddressBook& book) { book.SetGroupName(2, "Team"); },
     DirectoryList::Group,
     2,
     EntryChange::Changed,
     {{"name", {u"", u"Team"}}}},
    {"favourite retargeted",
     [](CAddressBook& book) {
         book.DeleteFavourite(1);
         book.AddFavourite(1, kTargetSpeedDial, 3);
     },
     DirectoryList::Favourite,
     1,
     EntryChange::Changed,
     {{"group", {u"2", u""}}, {"speed", {u"", u"3"}}}},
};

TEST(StateDiff, EachDirectoryChangeIsOneEntryWithTheFieldsThatDiffer)
{
    for (const CBookChange& known : kBookChanges) {
        const CTestState before(8313);
        CTestState after(8313);
        known.apply(after.context.device.book);
        for (DiffScope scope : {DiffScope::File, DiffScope::Upload}) {
            const CStateDiff diff = DiffStates(before.State(), after.State(), before.Env(), scope);
            EXPECT_TRUE(diff.settings.empty()) << known.name;
            ASSERT_EQ(diff.directory.size(), 1u) << known.name;
            const CDirectoryChange& change = diff.directory[0];
            EXPECT_EQ(change.list, known.list) << known.name;
            EXPECT_EQ(change.number, known.number) << known.name;
            EXPECT_EQ(change.change, known.change) << known.name;
            std::map<std::string, std::pair<std::u16string, std::u16string>> fields;
            for (const CFieldChange& field : change.fields) {
                if (!field.oldValue.empty() || !field.newValue.empty()) {
                    fields[field.name] = {field.oldValue, field.newValue};
                }
            }
            for (const auto& [name, values] : known.fields) {
                EXPECT_EQ(fields[name], values) << known.name << " field " << name;
            }
            if (known.change == EntryChange::Changed) {
                EXPECT_EQ(fields.size(), known.fields.size()) << known.name;
            }
        }
    }
}

TEST(StateDiff, SummaryCountsAndLinesGroupByPageAndList)
{
    const CTestState before(2152);
    CTestState after(2152);
    after.context.store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", 2);
    // Written by no control of its page: named by its key with the raw numbers, under the page.
    after.context.store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_IPSEC", 5);
    for (std::int32_t number : {10, 11}) {
        CFaxMailEntry entry;
        entry.number = number;
        entry.address.Assign("1");
        after.context.device.book.PutFaxMailEntry(entry);
    }
    after.context.device.book.SetGroupName(2, "Team");
    const CStateDiff diff = DiffStates(before.State(), after.State(), before.Env(), DiffScope::File);
    EXPECT_EQ(DiffSummary(diff, before.Env()), u"2 settings, 2 speed dials added, 1 group changed");
    EXPECT_EQ(DiffSummary(CStateDiff{}, before.Env()), u"No changes");
    const std::vector<std::u16string> lines = DiffLines(diff, before.Env());
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[1], u"  Panel Language (Machine_Language): English \u2192 German");
    const CSettingChange& raw = diff.settings[1];
    EXPECT_EQ(raw.page, "TCP_IP_SET_DLG");
    EXPECT_EQ(lines[2], raw.pageTitle + u" (TCP_IP_SET_DLG)");
    EXPECT_EQ(lines[3], u"  NETWORK_IPSEC: 1 \u2192 5");
    EXPECT_EQ(raw.newValue, u"5");
    EXPECT_EQ(lines[4], u"Speed dials");
    EXPECT_EQ(lines[7], u"Groups");
}

// Every line of the preview names the entry as the window does and says what each side holds: a
// favourite moved from a speed dial to a named group reads as one target for the other, and a
// field that had no value says so instead of leaving its side empty.
TEST(StateDiff, LinesNameEntriesInTheWindowsWordsWithNoEmptySide)
{
    const CTestState before(8313);
    CTestState after(8313);
    CAddressBook& book = after.context.device.book;
    book.SetGroupName(2, "Branches");
    ASSERT_EQ(after.context.device.book.AddFavourite(3, kTargetSpeedDial, 221), kOk);
    CTestState pointed(8313);
    ASSERT_EQ(pointed.context.device.book.AddFavourite(3, kTargetSpeedDial, 221), kOk);
    pointed.context.device.book.SetGroupName(2, "Branches");
    CTestState retargeted(8313);
    retargeted.context.device.book.SetGroupName(2, "Branches");
    ASSERT_EQ(retargeted.context.device.book.AddFavourite(3, kTargetGroup, 2), kOk);

    const CStateDiff moved = DiffStates(pointed.State(), retargeted.State(), before.Env(), DiffScope::Upload);
    const std::vector<std::u16string> movedLines = DiffLines(moved, before.Env());
    ASSERT_EQ(movedLines.size(), 2u);
    EXPECT_EQ(movedLines[0], u"Favourites");
    EXPECT_EQ(movedLines[1], u"  favourite 03 changed: speed dial 221 'Share' \u2192 group 02 'Branches'");

    const CStateDiff diff = DiffStates(before.State(), after.State(), before.Env(), DiffScope::Upload);
    const std::vector<std::u16string> lines = DiffLines(diff, before.Env());
    EXPECT_NE(std::find(lines.begin(), lines.end(), u"  group 02 changed: name (none) \u2192 Branches"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), u"  favourite 03 added: speed dial 221 'Share'"), lines.end());

    // No change in the list of known changes leaves a side empty.
    for (const CBookChange& known : kBookChanges) {
        CTestState changed(8313);
        known.apply(changed.context.device.book);
        for (const std::u16string& line :
             DiffLines(DiffStates(before.State(), changed.State(), before.Env(), DiffScope::File), before.Env())) {
            const std::string text(line.begin(), line.end());
            EXPECT_EQ(line.find(u"\u2192 ,"), std::u16string::npos) << known.name << ": " << text;
            EXPECT_EQ(line.find(u"  \u2192"), std::u16string::npos) << known.name << ": " << text;
            EXPECT_FALSE(line.ends_with(u"\u2192 ")) << known.name << ": " << text;
            EXPECT_FALSE(line.ends_with(u": ")) << known.name << ": " << text;
        }
    }
}

} // namespace
} // namespace qzb
