#include "pages/machine_page.h"

#include "app/app_context.h"
#include "model/model_defaults.h"
#include "pages/page.h"
#include "pages/page_input.h"

#include <gtest/gtest.h>

namespace qzb {
namespace {

constexpr auto kMachine = "MACHINE_SET_DLG";

struct CMachinePage
{
    explicit CMachinePage(std::int32_t model)
        : context(model)
    {
        ApplyModelDefaults(context.store, context.modelBit);
    }
    CPage& Open()
    {
        page = std::make_unique<CPage>(MachineSettingsPage(),
                                       CPageEnv{&context.store, &context.strings, context.modelBit, &context.device});
        page->Initialise();
        return *page;
    }
    CAppContext context;
    std::unique_ptr<CPage> page;
};

TEST(MachineSettingsPage, TonerEmptyStopOffersTheFaxOptionOnlyToSmallDevices)
{
    for (const auto& [model, shown, stored] : {std::tuple{8329, 1, 1}, {2152, 1, 1}, {8313, 0, 0}, {8315, 0, 0}}) {
        CMachinePage machine(model);
        machine.context.store.SetItemNumber(kMachine, "Machine_Toner_empty_stop", 1);
        CPage& page = machine.Open();
        EXPECT_EQ(page.State(1592).value, shown) << model;
        ASSERT_TRUE(page.Store().Ok());
        EXPECT_EQ(machine.context.store.GetItemNumber(kMachine, "Machine_Toner_empty_stop"), stored) << model;
    }
}

TEST(MachineSettingsPage, EnergySaveTimeIsWrittenOnlyByTheControlTheModelShows)
{
    CMachinePage large(8313);
    large.context.store.SetItemNumber(kMachine, "Machine_Energy_save_mode_OnOff", 1);
    CPage& page = large.Open();
    EXPECT_FALSE(page.State(1612).visible);
    ASSERT_EQ(ApplyControlInput(page, *page.FindControl(1595), u"42"), InputRefusal::None);
    EXPECT_EQ(page.State(1596).text.substr(0, 3), u"42 ") << "the value label follows the slider";
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(large.context.store.GetItemNumber(kMachine, "Machine_Energy_save_mode_time"), 42)
        << "the hidden combo must not replace the slider's value";

    CMachinePage small(8329);
    CPage& smallPage = small.Open();
    EXPECT_FALSE(smallPage.State(1595).visible);
    EXPECT_TRUE(smallPage.State(1612).visible);
    EXPECT_TRUE(smallPage.State(1611).visible);
    EXPECT_FALSE(smallPage.State(1602).visible) << "pre-heat belongs to the large model";
}

TEST(MachineSettingsPage, SwitchesEnableTheirControlsAndTheLanguageAppliesAtOnce)
{
    CMachinePage machine(8313);
    machine.context.store.SetItemNumber(kMachine, "Machine_Auto_panel_reset_OnOff", 0);
    machine.context.store.SetItemNumber(kMachine, "Machine_Energy_save_mode_OnOff", 0);
    CPage& page = machine.Open();
    EXPECT_FALSE(page.State(1573).enabled);
    EXPECT_FALSE(page.State(1595).enabled);
    EXPECT_EQ(ApplyControlInput(page, *page.FindControl(1573), u"2"), InputRefusal::Disabled);
    ASSERT_EQ(ApplyControlInput(page, *page.FindControl(1572), u"1"), InputRefusal::None);
    ASSERT_EQ(ApplyControlInput(page, *page.FindControl(1594), u"1"), InputRefusal::None);
    EXPECT_TRUE(page.State(1573).enabled);
    EXPECT_TRUE(page.State(1595).enabled);

    ASSERT_EQ(ApplyControlInput(page, *page.FindControl(1590), u"6"), InputRefusal::None);
    EXPECT_EQ(machine.context.store.GetItemNumber(kMachine, "Machine_Language"), 6) << "before any store";

    ASSERT_EQ(ApplyControlInput(page, *page.FindControl(1561), u"Bob~"), InputRefusal::None);
    machine.context.store.SetItemNumber(kMachine, "Machine_Language", 11);
    const CCheckResult result = page.Store();
    EXPECT_EQ(result.code, kMsgInvalidRangeValue) << "the Japanese panel has no tilde";
    EXPECT_EQ(result.controlId, 1561);
}

} // namespace
} // namespace qzb
