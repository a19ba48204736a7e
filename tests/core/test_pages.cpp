#include "pages/page.h"

#include "app/app_context.h"
#include "machine/setting_check.h"
#include "model/model_defaults.h"
#include "model/operation_seed.h"
#include "pages/admin_number_page.h"
#include "pages/common_checks.h"
#include "pages/information_pages.h"
#include "pages/machine_page.h"
#include "pages/page_input.h"
#include "pages/page_registry.h"
#include "tests/support/models.h"
#include "tests/support/page_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>
#include <string>

namespace qzb {
namespace {

std::vector<std::string> BoundKeys(const CControlDef& control)
{
    if (IsAddressBinding(control.binding)) {
        std::vector<std::string> keys;
        for (char field = '1'; field <= '4'; ++field) {
            keys.push_back(std::string(control.item) + '_' + field);
        }
        return keys;
    }
    return {std::string(control.item)};
}

// Setting dialogs that the factory settings do not pass: the device leaves no DNS server set, and
// the dialog takes none but a valid one.
struct CDefaultRefusal
{
    std::string_view page;
    MessageCode code;
    std::int32_t controlId;
};
// A device leaves the factory without DNS servers or a custom paper size; the dialogs refuse those
// until the user enters them.
constexpr CDefaultRefusal kDefaultRefusals[] = {
    {"DNS_CONF_DLG", kMsgDnsServerInvalidErr, 1873},
    {"CUSTOM_PAPER_SIZE_DLG:1", kMsgValueOutOfRange, 1001},
    {"CUSTOM_PAPER_SIZE_DLG:2", kMsgValueOutOfRange, 1001},
    {"EMAIL_SET_DLG", kMsgMachineEmailAddressErr, 1367}, // e-mail on, but no machine address yet
    {"FORWARD_LOCATION_DLG", kMsgForwardPhoneInvalidErr, 1215},
};

// Factory values that no option of the page's list holds: the list shows its first option, and
// that is what the page stores.
struct CDefaultRewrite
{
    std::string_view page;
    std::string_view key;
    std::int32_t number;
};
constexpr CDefaultRewrite kDefaultRewrites[] = {
    {"CAMERA_DIRECT_PRINT_DLG", "CAMERA_TRAY1_PAPER_SIZE", 2}, // Japanese postcard: A4
};

// Items a page writes in a form of its own whatever it loaded: with memory reception off there is
// no password and no time window (-1), where the factory store holds 0.
struct CStoredForm
{
    std::string_view page;
    std::string_view key;
    std::int32_t number;
};
constexpr CStoredForm kStoredForms[] = {
    {"FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_PASS", -1},
    {"FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME", -1},
};

bool IsStoredForm(std::string_view page, std::string_view key, std::int32_t number)
{
    return std::any_of(std::begin(kStoredForms), std::end(kStoredForms), [&](const CStoredForm& form) {
        return form.page == page && form.key == key && form.number == number;
    });
}

// Rounds of the random-store test, out of 40, that every page must store (the fewest any page
// stores with the fixed seeds) for the test to tell anything.
constexpr int kMinimumStoredRounds = 3;

class EveryPage : public testing::TestWithParam<std::tuple<const CPageDef*, std::int32_t>>
{
};

// The table facts every page relies on, for each model that runs it.
TEST_P(EveryPage, BindsExistingItemsAndStoresBackWhatItLoaded)
{
    // Plain variables, not a structured binding: the lambdas below capture them.
    const auto def = std::get<0>(GetParam());
    const auto model = std::get<1>(GetParam());
    CAppContext context(model);
    ApplyModelDefaults(context.store, context.modelBit);
    SeedFromOperationBlock(context.device.operationBlock, context.store);
    CPage page(*def, EnvOf(context));

    std::set<std::int32_t> ids;
    std::set<std::string_view> names;
    for (const CControlDef& control : page.Controls()) {
        EXPECT_TRUE(ids.insert(control.id).second) << def->name << " repeats id " << control.id;
        EXPECT_TRUE(names.insert(control.name).second) << def->name << " repeats name " << control.name;
        EXPECT_FALSE(control.name.empty()) << def->name << " control " << control.id;
        if (!control.opensDialog.empty()) {
            const CPageDef* dialog = FindPageDef(control.opensDialog);
            ASSERT_NE(dialog, nullptr) << def->name << " opens " << control.opensDialog;
            EXPECT_EQ(dialog->pageClass, PageClass::SettingDialog);
        }
        if (control.focusOnFull != 0) {
            const CControlDef* next = page.FindControl(control.focusOnFull);
            ASSERT_NE(next, nullptr) << def->name << " hands the focus to " << control.focusOnFull;
            EXPECT_EQ(next->kind, ControlKind::Edit);
        }
        if (control.binding == Binding::None) {
            continue;
        }
        const std::string_view storePage = control.itemPage.empty() ? page.StorePage() : control.itemPage;
        for (const std::string& key : BoundKeys(control)) {
            EXPECT_TRUE(context.store.FindRecord(storePage, key).Valid())
                << def->name << ": " << storePage << "/" << key;
        }
    }
    bool inRegistry = false;
    for (const CRegistryRow& row : PageRegistry()) {
        if (row.typeCode == def->typeCode && def->typeCode != 0) {
            inRegistry = true;
            EXPECT_EQ(row.pageName, def->name);
            EXPECT_EQ(row.className, def->className);
            EXPECT_EQ(row.ratioKey, def->ratioKey);
            EXPECT_EQ(row.modelMask, def->modelMask);
        }
    }
    EXPECT_TRUE(inRegistry || def->pageClass == PageClass::SettingDialog) << def->name;

    const auto before = context.store.Pages();
    page.Initialise();
    const CCheckResult result = page.Store();
    const auto refusal = std::find_if(std::begin(kDefaultRefusals),
                                      std::end(kDefaultRefusals),
                                      [&](const CDefaultRefusal& known) { return known.page == def->name; });
    if (refusal != std::end(kDefaultRefusals)) {
        EXPECT_EQ(result.code, refusal->code) << def->name;
        EXPECT_EQ(result.controlId, refusal->controlId) << def->name;
    } else {
        EXPECT_TRUE(result.Ok()) << def->name << " refuses its own defaults: control " << result.controlId;
    }
    const auto& after = context.store.Pages();
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t p = 0; p < before.size(); ++p) {
        for (std::size_t r = 0; r < before[p].records.size(); ++r) {
            const auto rewrite =
                std::find_if(std::begin(kDefaultRewrites), std::end(kDefaultRewrites), [&](auto& known) {
                    return known.page == def->name && known.page == before[p].name &&
                           known.key == before[p].records[r].key;
                });
            if (rewrite != std::end(kDefaultRewrites)) {
                EXPECT_EQ(after[p].records[r].number, rewrite->number) << def->name << " " << rewrite->key;
                continue;
            }
            if (IsStoredForm(before[p].name, before[p].records[r].key, after[p].records[r].number)) {
                continue;
            }
            EXPECT_EQ(before[p].records[r].number, after[p].records[r].number)
                << def->name << " changed " << before[p].name << "/" << before[p].records[r].key;
            EXPECT_EQ(before[p].records[r].text, after[p].records[r].text)
                << def->name << " changed " << before[p].name << "/" << before[p].records[r].key;
        }
    }
}

// Plainly valid inputs for the controls a page refuses on the factory values: an address, a length
// in range, an e-mail address, a number to dial.
constexpr std::u16string_view kValidInputs[] = {
    u"192.168.1.20", u"150", u"250", u"printer@example.test", u"0123", u"1"};

// Gives each control that the page's checks refuse the first valid input it takes, until the page
// stores: the store then holds values the page accepts, whatever the factory left.
bool StoreWithValidInputs(CPage& page)
{
    for (std::size_t attempt = 0; attempt < page.Controls().size() + 1; ++attempt) {
        const CCheckResult result = page.Store();
        if (result.Ok()) {
            return true;
        }
        const CControlDef* control = page.FindControl(result.controlId);
        if (control == nullptr) {
            return false;
        }
        bool moved = false;
        for (const std::u16string_view input : kValidInputs) {
            if (ApplyControlInput(page, *control, input) != InputRefusal::None) {
                continue;
            }
            const CCheckResult again = page.Store();
            if (again.Ok() || again.controlId != result.controlId || again.code != result.code) {
                moved = true;
                break;
            }
        }
        if (!moved) {
            return false;
        }
    }
    return false;
}

// A context of the model with the factory values, and the page's refused ones made valid.
void SeedValidStore(const CPageDef& def, CAppContext& context)
{
    ApplyModelDefaults(context.store, context.modelBit);
    SeedFromOperationBlock(context.device.operationBlock, context.store);
    CPage page(def, EnvOf(context));
    page.Initialise();
    ASSERT_TRUE(StoreWithValidInputs(page)) << def.name << " takes none of the valid inputs";
}

// Random store contents never crash a page, and what a page stores it shows again unchanged. The
// first rounds scramble every bound item; the later ones a few items of a valid store, so that every
// page stores, and is checked, in many rounds.
TEST_P(EveryPage, StoresOnlyValuesItCanShowAfterAnyStoreContents)
{
    const auto [def, model] = GetParam();
    CAppContext context(model);
    SeedValidStore(*def, context);
    const CValueStore valid = context.store;
    std::mt19937 random(static_cast<unsigned>(model));
    std::uniform_int_distribution<int> pick(0, 5);
    const std::int32_t samples[] = {0, 1, -1, 7, 255, 300, INT32_MIN, INT32_MAX, 1000000};
    constexpr int kScrambledRounds = 20;
    int storedRounds = 0;
    for (int round = 0; round < 2 * kScrambledRounds; ++round) {
        const bool scrambleAll = round < kScrambledRounds;
        if (!scrambleAll) {
            context.store = valid;
        }
        for (const CControlDef& control : def->controls) {
            if (control.binding == Binding::None || (!scrambleAll && pick(random) != 0)) {
                continue;
            }
            const std::string_view storePage = control.itemPage.empty() ? def->name : control.itemPage;
            for (const std::string& key : BoundKeys(control)) {
                context.store.SetItemNumber(storePage, key, samples[random() % std::size(samples)]);
                context.store.SetItemText(storePage, key, pick(random) == 0 ? u"" : u"x1~\u00e9");
            }
        }
        CPage page(*def, EnvOf(context));
        page.Initialise();
        if (!page.Store().Ok()) {
            continue;
        }
        ++storedRounds;
        CPage again(*def, EnvOf(context));
        again.Initialise();
        for (std::size_t i = 0; i < def->controls.size(); ++i) {
            // A control of other models may share this model's item in another form.
            if ((def->controls[i].modelMask & context.modelBit) == 0) {
                continue;
            }
            EXPECT_EQ(page.StateAt(i).text, again.StateAt(i).text) << def->name << " " << def->controls[i].id;
            EXPECT_EQ(page.StateAt(i).value, again.StateAt(i).value) << def->name << " " << def->controls[i].id;
            EXPECT_EQ(page.StateAt(i).octets, again.StateAt(i).octets) << def->name << " " << def->controls[i].id;
        }
    }
    EXPECT_GE(storedRounds, kMinimumStoredRounds) << def->name << " stored too few rounds to tell anything";
}

// The combos and radio buttons that a model shows and a user can set, whose value reaches the device.
std::vector<const CControlDef*> ChoiceControls(const CPageDef& def, std::int32_t model)
{
    CAppContext context(model);
    CPage page(def, EnvOf(context));
    page.Initialise();
    std::vector<const CControlDef*> controls;
    for (const CControlDef& control : def.controls) {
        if (control.binding != Binding::None && !control.readOnly && (control.modelMask & context.modelBit) != 0 &&
            (control.kind == ControlKind::Combo || control.kind == ControlKind::Radio) &&
            ControlTravels(page, control)) {
            controls.push_back(&control);
        }
    }
    return controls;
}

class EveryChoicePage : public testing::TestWithParam<std::tuple<const CPageDef*, std::int32_t>>
{
};

// Every option of every combo and every radio button a model shows, set as a user would, is what
// the page shows again after it was stored and loaded.
TEST_P(EveryChoicePage, EveryChoiceSurvivesAStoreAndALoad)
{
    const auto [def, model] = GetParam();
    CAppContext context(model);
    SeedValidStore(*def, context);
    int checked = 0;
    for (const CControlDef* control : ChoiceControls(*def, model)) {
        CPage probe(*def, EnvOf(context));
        probe.Initialise();
        std::vector<std::int32_t> values;
        if (control->kind == ControlKind::Radio) {
            values.push_back(1);
        } else {
            for (const CChoice& choice : probe.State(control->id).choices) {
                values.push_back(choice.value);
            }
        }
        for (const std::int32_t value : values) {
            CPage page(*def, EnvOf(context));
            page.Initialise();
            const std::string number = std::to_string(value);
            if (ApplyControlInput(page, *control, std::u16string(number.begin(), number.end())) != InputRefusal::None) {
                continue; // hidden or disabled by the page's other values
            }
            if (!page.Store().Ok()) {
                continue; // the page's own checks refuse this value together with its others
            }
            CPage again(*def, EnvOf(context));
            again.Initialise();
            EXPECT_EQ(again.State(control->id).value, control->kind == ControlKind::Radio ? 1 : value)
                << def->name << " control " << control->id << " value " << value;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0) << def->name << " stored none of its choices";
}

std::vector<std::tuple<const CPageDef*, std::int32_t>> PagesAndModels()
{
    std::vector<std::tuple<const CPageDef*, std::int32_t>> cases;
    for (const CPageDef* def : PageDefs()) {
        for (const std::int32_t model : kModels) {
            if ((def->modelMask & FindModelProfile(model).modelBit) != 0) {
                cases.emplace_back(def, model);
            }
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryPage, testing::ValuesIn(PagesAndModels()), [](const auto& info) {
    std::string name(std::get<0>(info.param)->name);
    std::replace(name.begin(), name.end(), ':', '_');
    return name + "_" + std::to_string(std::get<1>(info.param));
});

std::vector<std::tuple<const CPageDef*, std::int32_t>> PagesWithChoices()
{
    std::vector<std::tuple<const CPageDef*, std::int32_t>> cases;
    for (const auto& [def, model] : PagesAndModels()) {
        if (!ChoiceControls(*def, model).empty()) {
            cases.emplace_back(def, model);
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryChoicePage, testing::ValuesIn(PagesWithChoices()), [](const auto& info) {
    std::string name(std::get<0>(info.param)->name);
    std::replace(name.begin(), name.end(), ':', '_');
    return name + "_" + std::to_string(std::get<1>(info.param));
});

// A model's setting dialogs are the ones a control it shows opens: the IPv6 and address filter
// dialogs belong to the models whose TCP/IP page has their check boxes.
TEST(PageRegistry, AModelListsOnlyTheDialogsItsControlsOpen)
{
    for (const std::int32_t model : kModels) {
        const std::uint32_t bit = FindModelProfile(model).modelBit;
        const std::vector<const CPageDef*> defs = PageDefsForModel(bit);
        for (const CPageDef* dialog : defs) {
            if (dialog->pageClass != PageClass::SettingDialog) {
                continue;
            }
            const bool opened = std::any_of(defs.begin(), defs.end(), [&](const CPageDef* page) {
                return std::any_of(page->controls.begin(), page->controls.end(), [&](const CControlDef& control) {
                    return control.opensDialog == dialog->name && (control.modelMask & bit) != 0;
                });
            });
            EXPECT_TRUE(opened) << model << " lists " << dialog->name;
        }
        const bool ipv6 = std::any_of(defs.begin(), defs.end(), [](auto* def) { return def->name == "IPV6_DLG"; });
        EXPECT_EQ(ipv6, model == 8314 || model == 8315) << model;
    }
}

TEST(CommonChecks, RangeReadsLeadingDigitsAndSaturates)
{
    EXPECT_EQ(LeadingDecimal(u""), 0);
    EXPECT_EQ(LeadingDecimal(u"abc"), 0);
    EXPECT_EQ(LeadingDecimal(u"42abc"), 42);
    EXPECT_EQ(LeadingDecimal(u"-5"), -5);
    EXPECT_TRUE(IsInRange(u"216", 92, 216));
    EXPECT_FALSE(IsInRange(u"217", 92, 216));
    EXPECT_FALSE(IsInRange(u"", 92, 216)) << "empty counts as 0";
    // 4294967388 wraps to 92 in 32 bits; it must stay out of range.
    EXPECT_FALSE(IsInRange(u"4294967388", 92, 216));
    EXPECT_FALSE(IsInRange(u"99999999999999999999999", 0, INT32_MAX));
    EXPECT_FALSE(IsInRange(u"-99999999999999999999999", INT32_MIN, 0));
}

TEST(CommonChecks, EmailAddressRule)
{
    EXPECT_TRUE(IsEmailAddress(u"a@b"));
    EXPECT_TRUE(IsEmailAddress(u"user.name@example.com"));
    for (const std::u16string_view bad : {u"", u"ab", u"@ab", u"ab@", u"a@b@c", u"a@@b"}) {
        EXPECT_FALSE(IsEmailAddress(bad)) << std::string(bad.begin(), bad.end());
    }
}

TEST(AdminNumberPage, ShowsSixDigitsAndStoresOnlySix)
{
    CAppContext context(8313);
    context.store.SetItemNumber("ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO", 42);
    CPage page(AdminNumberPage(), EnvOf(context));
    page.Initialise();
    const CControlDef& edit = *page.FindControl(kAdminNumberEditId);
    EXPECT_EQ(page.State(kAdminNumberEditId).text, u"000042");

    EXPECT_EQ(ApplyControlInput(page, edit, u"12a456"), InputRefusal::CharacterRefused);
    EXPECT_EQ(ApplyControlInput(page, edit, u"1234567"), InputRefusal::TooLong);
    ASSERT_EQ(ApplyControlInput(page, edit, u"12345"), InputRefusal::None);
    const CCheckResult refused = page.Store();
    EXPECT_EQ(refused.code, kMsgInvalidRangeValue);
    EXPECT_EQ(refused.controlId, kAdminNumberEditId);
    EXPECT_EQ(context.store.GetItemNumber("ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO"), 42);

    ASSERT_EQ(ApplyControlInput(page, edit, u"000043"), InputRefusal::None);
    EXPECT_TRUE(page.Store().Ok());
    EXPECT_EQ(context.store.GetItemNumber("ADMINSTRATOR_NO_DLG", "ADMINSTRATOR_NO"), 43);
}

std::u16string Caption(const CPage& page, std::string_view name)
{
    const CControlDef* control = page.FindControl(name);
    return control != nullptr ? page.State(control->id).text : u"<no control>";
}

bool Visible(const CPage& page, std::string_view name)
{
    return page.State(page.FindControl(name)->id).visible;
}

TEST(InformationPages, ConfigurationRowsFollowTheModelAndTheirSources)
{
    for (const std::int32_t model : kModels) {
        CAppContext context(model);
        const bool large = context.modelBit == 1;
        const bool small = (context.modelBit & 0x6) != 0;
        context.store.SetItemText("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT", u"Front desk");
        for (int field = 1; field <= 4; ++field) {
            context.store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_IP_ADD_" + std::to_string(field), 190 + field);
        }
        context.store.SetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_PAPER_SIZE", 12);
        context.store.SetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_MEDIA_TYPE", 99);
        context.device.deviceInfo[4] = u"256 MB";

        CPage page(ConfigurationPage(), EnvOf(context));
        page.Initialise();
        EXPECT_EQ(Caption(page, "deviceNameValue"), u"Front desk");
        EXPECT_EQ(Caption(page, "ipAddressValue"), u"191.192.193.194");
        context.store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_GATEWAY_1", -1);
        page.Initialise();
        EXPECT_EQ(Caption(page, "gatewayAddressValue"), u"") << "no gateway shows empty, not -1.0.0.0";
        EXPECT_EQ(Caption(page, "memoryValue"), u"256 MB");
        EXPECT_EQ(Visible(page, "tray3Label"), large) << model;
        EXPECT_EQ(Visible(page, "imagingCartridgeValue"), small) << model;
        EXPECT_EQ(Visible(page, "fuserUnitLabel"), large) << model;
        EXPECT_TRUE(Visible(page, "tray1Media"));
        if (context.strings.Size() > 0) {
            EXPECT_EQ(Caption(page, "tray1Value"), *context.strings.Find("STR_PSS_CMB_LETTER"));
            EXPECT_EQ(Caption(page, "tray1Media"), *context.strings.Find("STR_MIC_TXT_PLAIN_PAPER"))
                << "a media value no radio has reads as plain paper";
        }
    }
}

TEST(InformationPages, CountersShowEachSlotOnTheModelsThatHaveIt)
{
    for (const std::int32_t model : kModels) {
        CAppContext context(model);
        for (std::size_t slot = 0; slot < kCounterSlots; ++slot) {
            context.device.counters[slot] = static_cast<std::uint32_t>(1000 + slot);
        }
        CPage page(TotalCounterPage(), EnvOf(context));
        page.Initialise();
        EXPECT_EQ(Caption(page, "totalFacesCounter2Value"), u"1002");
        EXPECT_EQ(Caption(page, "adf22Value"), u"1022");
        EXPECT_TRUE(Visible(page, "adf22Value"));
        EXPECT_FALSE(Visible(page, "adf24Label")) << "the feeder's second slot never receives a count";
        EXPECT_EQ(Visible(page, "recycled38Value"), context.modelBit == 1) << model;
        EXPECT_EQ(page.FindControl("faxTrasmittingPrint51Value"), nullptr) << "that row has no value";
        EXPECT_EQ(Caption(page, "twain59Value"), u"1059");
    }
}

// A page built only for the engine's encodings, so each binding rule is pinned down once.
constexpr CChoiceDef kChoices[] = {{"STR_A", 5}, {"STR_B", 15, 0x6}, {"STR_C", 30}};
constexpr CChoiceDef kSmallOnly[] = {{"STR_A", 1, 0x6}};
constexpr CControlDef kEngineControls[] = {
    {.id = 1, .kind = ControlKind::Check, .name = "check", .binding = Binding::Check, .item = "MACHINE_INTERVAL"},
    {.id = 2,
     .kind = ControlKind::Radio,
     .name = "high",
     .binding = Binding::Radio,
     .item = "Machine_Buzzer_Volume",
     .group = 1,
     .radioValue = 0},
    {.id = 3,
     .kind = ControlKind::Radio,
     .name = "off",
     .binding = Binding::Radio,
     .item = "Machine_Buzzer_Volume",
     .group = 1,
     .radioValue = 2,
     .fallback = true},
    {.id = 4,
     .kind = ControlKind::Combo,
     .name = "combo",
     .binding = Binding::Combo,
     .item = "Machine_Energy_save_mode_time",
     .choices = kChoices},
    {.id = 5,
     .kind = ControlKind::Slider,
     .name = "slider",
     .binding = Binding::Slider,
     .item = "Machine_LCD_contrast",
     .minimum = -1,
     .maximum = 2,
     .offset = 1},
    {.id = 6,
     .kind = ControlKind::Combo,
     .name = "empty",
     .binding = Binding::Combo,
     .item = "Machine_Duplex_speed",
     .choices = kSmallOnly},
    {.id = 7,
     .kind = ControlKind::Address,
     .name = "address",
     .binding = Binding::Address,
     .item = "NETWORK_IP_ADD",
     .itemPage = "TCP_IP_SET_DLG"},
};
constexpr CPageDef kEnginePage{.name = "MACHINE_SET_DLG", .controls = kEngineControls};

TEST(PageEngine, EncodingsLoadAndStoreByTheirRules)
{
    CAppContext context(8313);
    CValueStore& store = context.store;
    store.SetItemNumber("MACHINE_SET_DLG", "MACHINE_INTERVAL", 2);
    store.SetItemNumber("MACHINE_SET_DLG", "Machine_Buzzer_Volume", 1);
    store.SetItemNumber("MACHINE_SET_DLG", "Machine_Energy_save_mode_time", 15);
    store.SetItemNumber("MACHINE_SET_DLG", "Machine_LCD_contrast", 7);
    store.SetItemNumber("MACHINE_SET_DLG", "Machine_Duplex_speed", 2);
    CPage page(kEnginePage, EnvOf(context));
    page.Initialise();

    EXPECT_EQ(page.State(1).value, 0) << "a check box is checked only by exactly 1";
    EXPECT_EQ(page.State(2).value, 0);
    EXPECT_EQ(page.State(3).value, 1) << "a value no button has checks the fallback button";
    EXPECT_EQ(page.State(4).choices.size(), 2u) << "the small models' option is not offered";
    EXPECT_EQ(page.State(4).value, 5) << "a value the list lacks selects the first option";
    EXPECT_EQ(page.State(5).value, 0) << "an out-of-range contrast loads as the middle position";
    EXPECT_TRUE(page.State(6).choices.empty());
    EXPECT_EQ(page.State(6).value, -1);

    const CControlDef& address = *page.FindControl(7);
    EXPECT_EQ(ApplyControlInput(page, address, u"192..1."), InputRefusal::None);
    EXPECT_EQ(ControlValueText(page, address), u"192..1.");
    EXPECT_EQ(ApplyControlInput(page, address, u"1.2.3.256"), InputRefusal::OutOfRange);
    EXPECT_EQ(ApplyControlInput(page, address, u"1.2.3"), InputRefusal::NotAddress);
    EXPECT_EQ(ApplyControlInput(page, *page.FindControl(4), u"15"), InputRefusal::NotInList);
    EXPECT_EQ(ApplyControlInput(page, *page.FindControl(5), u"3"), InputRefusal::OutOfRange);
    page.SetValue(2, 1);
    EXPECT_EQ(page.State(3).value, 0) << "a radio button clears its group";

    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(store.GetItemNumber("MACHINE_SET_DLG", "MACHINE_INTERVAL"), 0);
    EXPECT_EQ(store.GetItemNumber("MACHINE_SET_DLG", "Machine_Buzzer_Volume"), 0);
    EXPECT_EQ(store.GetItemNumber("MACHINE_SET_DLG", "Machine_Energy_save_mode_time"), 5);
    EXPECT_EQ(store.GetItemNumber("MACHINE_SET_DLG", "Machine_LCD_contrast"), 1);
    EXPECT_EQ(store.GetItemNumber("MACHINE_SET_DLG", "Machine_Duplex_speed"), 2) << "an empty list writes nothing";
    EXPECT_EQ(store.GetItemNumber("TCP_IP_SET_DLG", "NETWORK_IP_ADD_1"), 192);
    EXPECT_EQ(store.GetItemNumber("TCP_IP_SET_DLG", "NETWORK_IP_ADD_2"), 0);
}

constexpr CControlDef kSwitchControls[] = {
    {.id = 1, .kind = ControlKind::Check, .name = "nonZero", .binding = Binding::CheckNonZero, .item = "NETWORK_DHCP"},
    {.id = 2,
     .kind = ControlKind::Check,
     .name = "inverted",
     .binding = Binding::CheckInverted,
     .item = "NETWORK_SMTP"},
    {.id = 3,
     .kind = ControlKind::Address,
     .name = "none",
     .binding = Binding::AddressNoneMinusOne,
     .item = "NETWORK_GATEWAY"},
    {.id = 4,
     .kind = ControlKind::Address,
     .name = "zero",
     .binding = Binding::AddressNoneZero,
     .item = "NETWORK_IP_ADD"},
    {.id = 5,
     .kind = ControlKind::Address,
     .name = "shown",
     .binding = Binding::Address,
     .item = "NETWORK_SUB_MASK",
     .readOnly = true},
    {.id = 6,
     .kind = ControlKind::Edit,
     .name = "password",
     .binding = Binding::Text,
     .item = "NETWORK_APPLETALK",
     .inputKind = InputKind::LettersDigits,
     .keepLastGood = true},
};
void RecordOldDhcp(const CPage&, CValueStore& store)
{
    // Runs before the writes: the store still holds the loaded value.
    store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_BOOTP", store.GetItemNumber("TCP_IP_SET_DLG", "NETWORK_DHCP"));
}
constexpr CPageRules kSwitchRules{.beforeStore = RecordOldDhcp};
constexpr CPageDef kSwitchPage{.name = "TCP_IP_SET_DLG", .controls = kSwitchControls, .rules = &kSwitchRules};

TEST(PageEngine, SwitchAndAddressEncodings)
{
    CAppContext context(8313);
    CValueStore& store = context.store;
    constexpr auto kPage = "TCP_IP_SET_DLG";
    const auto octets = [&](std::string_view item, std::array<std::int32_t, 4> values) {
        for (int field = 0; field < 4; ++field) {
            store.SetItemNumber(kPage, std::string(item) + '_' + char('1' + field), values[field]);
        }
    };
    const auto number = [&](std::string_view key) { return store.GetItemNumber(kPage, key); };
    store.SetItemNumber(kPage, "NETWORK_DHCP", 7);
    store.SetItemNumber(kPage, "NETWORK_SMTP", 2);
    octets("NETWORK_GATEWAY", {-1, 5, 6, 7});
    octets("NETWORK_IP_ADD", {0, 0, 0, 0});
    octets("NETWORK_SUB_MASK", {255, 255, 0, 0});
    store.SetItemText(kPage, "NETWORK_APPLETALK", u"abc");
    CPage page(kSwitchPage, EnvOf(context));
    page.Initialise();

    EXPECT_EQ(page.State(1).value, 1) << "any value but 0 loads checked";
    EXPECT_EQ(page.State(2).value, 1) << "an inverted box loads checked on any value but 1";
    EXPECT_EQ(ControlValueText(page, *page.FindControl(3)), u"...") << "-1 in the first item is no address";
    EXPECT_EQ(ControlValueText(page, *page.FindControl(4)), u"...") << "0.0.0.0 is no address";
    EXPECT_EQ(ApplyControlInput(page, *page.FindControl(5), u"1.2.3.4"), InputRefusal::NotEditable);
    page.SetText(6, u"ab;c");
    EXPECT_EQ(page.State(6).text, u"abc") << "a failing change puts the last good text back";
    page.SetText(6, u"abcd");
    EXPECT_EQ(page.State(6).text, u"abcd");

    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(number("NETWORK_BOOTP"), 7) << "beforeStore sees the value the store held";
    EXPECT_EQ(number("NETWORK_DHCP"), 1);
    EXPECT_EQ(number("NETWORK_SMTP"), 0) << "checked stores 0";
    EXPECT_EQ(number("NETWORK_GATEWAY_1"), -1);
    EXPECT_EQ(number("NETWORK_GATEWAY_2"), 0);
    EXPECT_EQ(number("NETWORK_IP_ADD_1"), 0);

    page.SetValue(1, 0);
    page.SetValue(2, 0);
    ASSERT_EQ(ApplyControlInput(page, *page.FindControl(3), u"10.0.0.1"), InputRefusal::None);
    ASSERT_EQ(ApplyControlInput(page, *page.FindControl(4), u"10.0.0.2"), InputRefusal::None);
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(number("NETWORK_DHCP"), 0);
    EXPECT_EQ(number("NETWORK_SMTP"), 1) << "unchecked stores 1";
    EXPECT_EQ(number("NETWORK_GATEWAY_1"), 10);
    EXPECT_EQ(number("NETWORK_IP_ADD_4"), 2);
    store.SetItemNumber(kPage, "NETWORK_SUB_MASK_3", 9);
    page.Store();
    EXPECT_EQ(number("NETWORK_SUB_MASK_3"), 9) << "a read-only address is never written";
}

} // namespace
} // namespace qzb

namespace qzb {
namespace {

// A translated table that lacks a key, or a row of another model, leaves the shipped English.
TEST(PageTexts, MissingKeysAndOtherModelsRowsKeepTheShippedEnglish)
{
    CAppContext context(8329);
    std::istringstream table("STR_MS_TXT_ADMIN_NAME=Nom de l'administrateur\n"
                             "STR_MS_TXT_LAMP_OFF_TIME=Extinction de la lampe\n");
    ASSERT_TRUE(context.strings.Load(table).Ok());
    CPage page(MachineSettingsPage(), EnvOf(context));
    page.Initialise();
    EXPECT_EQ(page.State(1560).text, u"Nom de l'administrateur");
    EXPECT_EQ(page.State(1562).text, u"Device Name") << "missing from the table";
    EXPECT_EQ(page.State(1576).text, u"Lamp Off Time") << "a row of the large model only";
    EXPECT_EQ(page.Text("STR_NO_SUCH_KEY"), u"");
}

} // namespace
} // namespace qzb

namespace qzb {
namespace {

// A control takes input only where its value reaches the device: the quick test of the item table
// agrees with the full check a settings file runs, and qzbctl says why it refuses the others.
TEST(PageInput, ControlsWhoseItemNeverTravelsAreRefusedWithTheReason)
{
    int travelling = 0;
    int never = 0;
    for (const std::int32_t model : kModels) {
        CAppContext context(model);
        for (const CPageDef* def : PageDefsForModel(context.modelBit)) {
            CPage page(*def, {&context.store, &context.strings, context.modelBit, &context.device});
            page.Initialise();
            for (const CControlDef& control : page.Controls()) {
                if (control.binding == Binding::None || control.readOnly || !page.AppliesToModel(control.modelMask)) {
                    continue;
                }
                const std::string_view storePage = control.itemPage.empty() ? page.StorePage() : control.itemPage;
                const bool text = control.binding == Binding::Text || control.binding == Binding::PanelText;
                const std::string key =
                    IsAddressBinding(control.binding) ? std::string(control.item) + "_1" : std::string(control.item);
                const CSettingCheck check = text ? CheckSettingText(context.device, context.store, storePage, key, u"")
                                                 : CheckSettingNumber(context.device, context.store, storePage, key, 0);
                const bool kept =
                    check.refusal != SettingRefusal::NotInImage && check.refusal != SettingRefusal::WrongKind;
                EXPECT_EQ(ControlTravels(page, control), kept) << model << " " << def->name << " " << control.id;
                if (!ControlTravels(page, control)) {
                    ++never;
                    page.SetEnabled(control.id, true);
                    page.SetVisible(control.id, true);
                    EXPECT_EQ(ApplyControlInput(page, control, u"1"), InputRefusal::NeverTravels) << control.id;
                } else {
                    ++travelling;
                }
            }
        }
    }
    EXPECT_GT(travelling, 500);
    EXPECT_GT(never, 40) << "SNMP, IPv6, IPP, TCP/IP and camera print rows of the large models";
}

} // namespace
} // namespace qzb
