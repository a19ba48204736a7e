#include "app/app_context.h"
#include "model/model_defaults.h"
#include "pages/direct_print_pages.h"
#include "pages/email_ldap_pages.h"
#include "pages/page_input.h"
#include "pages/page_registry.h"
#include "pages/scan_copy_pages.h"
#include "tests/support/models.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace qzb {
namespace {

struct CPageRun
{
    CPageRun(std::int32_t model, const CPageDef& def)
        : context(model)
        , def(def)
    {
        ApplyModelDefaults(context.store, context.modelBit);
    }
    CPage& Open()
    {
        page = std::make_unique<CPage>(def, CPageEnv{&context.store, &context.strings, context.modelBit});
        page->Initialise();
        return *page;
    }
    // Applies id=value pairs as a user would; every one must be taken.
    void Set(std::initializer_list<std::pair<std::int32_t, std::u16string_view>> values)
    {
        for (const auto& [id, value] : values) {
            ASSERT_EQ(ApplyControlInput(*page, *page->FindControl(id), value), InputRefusal::None) << id;
        }
    }
    std::int32_t Number(std::string_view key) const { return context.store.GetItemNumber(def.name, key); }
    void SetNumber(std::string_view key, std::int32_t value) { context.store.SetItemNumber(def.name, key, value); }

    CAppContext context;
    const CPageDef& def;
    std::unique_ptr<CPage> page;
};

TEST(ScanPage, SixHundredDpiOnlyOnTheModelThatScansIt)
{
    for (const std::int32_t model : kModels) {
        CPageRun run(model, ScanSettingsPage());
        run.SetNumber("SCANNER_RESOLUTION", 2);
        CPage& page = run.Open();
        const bool large = run.context.modelBit == 1;
        EXPECT_EQ(page.State(1711).value, large ? 0 : 1) << model << ": a stored 600 DPI shows as 150 DPI";
        ASSERT_TRUE(page.Store().Ok());
        EXPECT_EQ(run.Number("SCANNER_RESOLUTION"), large ? 2 : 0) << model;
    }
}

std::vector<std::int32_t> ChoiceValues(const CPage& page, std::int32_t id)
{
    std::vector<std::int32_t> values;
    for (const CChoice& choice : page.State(id).choices) {
        values.push_back(choice.value);
    }
    return values;
}

// Each model has the direct-print pages only where it has the slots, and on the scan, copy and
// e-mail pages only the options it has.
TEST(ScanCopyMailPages, ShowOnlyTheModelsOptions)
{
    for (const std::int32_t model : kModels) {
        const bool large = model == 8313;
        const bool direct = model == 8314 || model == 8315;
        const CAppContext context(model);
        const auto defs = PageDefsForModel(context.modelBit);
        for (const std::string_view name : {"MEMORY_DIRECT_DLG", "CAMERA_DIRECT_DLG", "CAMERA_DIRECT_PRINT_DLG"}) {
            const bool has =
                std::any_of(defs.begin(), defs.end(), [&](const CPageDef* def) { return def->name == name; });
            EXPECT_EQ(has, direct) << model << " " << name;
        }

        CPageRun scan(model, ScanSettingsPage());
        EXPECT_EQ(scan.Open().State(1713).visible, large) << model;
        CPageRun copy(model, CopySettingsPage());
        const CPage& copyPage = copy.Open();
        const std::vector<std::int32_t> qualities =
            large ? std::vector<std::int32_t>{2, 0, 1, 3, 6, 4, 5, 7} : std::vector<std::int32_t>{2, 0, 1, 6, 4, 5};
        EXPECT_EQ(ChoiceValues(copyPage, 1162), qualities) << model;
        EXPECT_EQ(copyPage.State(1153).visible, large) << model;
        EXPECT_EQ(copyPage.State(1168).visible, large) << model;
        CPageRun mail(model, EmailSettingsPage());
        const CPage& mailPage = mail.Open();
        EXPECT_EQ(mailPage.State(1361).value, 1) << model;
        EXPECT_FALSE(mailPage.State(1391).enabled) << model << ": POP before SMTP is off";
        if (direct) {
            CPageRun camera(model, CameraDirectPrintPage());
            EXPECT_EQ(ChoiceValues(camera.Open(), 2146), (std::vector<std::int32_t>{2, 12})) << model;
        }
    }
}

TEST(ScanPage, FileSizeFollowsSplit)
{
    CPageRun run(8329, ScanSettingsPage());
    run.SetNumber("SCANNER_FILE_SIZE_SPLIT", 2);
    CPage& page = run.Open();
    EXPECT_EQ(page.State(1723).value, 1) << "only 1 loads as Split";
    EXPECT_FALSE(page.State(1725).enabled);
    run.Set({{1724, u"1"}, {1725, u"3"}});
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(run.Number("SCANNER_FILE_SIZE"), 3);
}

TEST(CopyPage, AutoQualitiesOnlyOnTheModelThatHasThem)
{
    for (const std::int32_t model : kModels) {
        CPageRun run(model, CopySettingsPage());
        run.SetNumber("COPY1_QUALITY_PRIORITY", 3);
        CPage& page = run.Open();
        const bool large = run.context.modelBit == 1;
        EXPECT_EQ(page.State(1162).choices.size(), large ? 8u : 6u) << model;
        EXPECT_EQ(page.State(1162).value, large ? 3 : 2) << model << ": the first option, MIX, stands in";
        ASSERT_TRUE(page.Store().Ok());
        EXPECT_EQ(run.Number("COPY1_QUALITY_PRIORITY"), large ? 3 : 2) << model;
    }
}

TEST(CopyPage, DensityPriorityChoosesTheLiveSlider)
{
    CPageRun run(8313, CopySettingsPage());
    run.SetNumber("COPY1_DENSITY_LEVEL_MANUAL", 7);
    CPage& page = run.Open();
    EXPECT_TRUE(page.State(1157).enabled);
    EXPECT_FALSE(page.State(1160).enabled);
    EXPECT_EQ(page.State(1160).text, u"0") << "a level off the range loads as the middle";
    run.Set({{1156, u"1"}, {1158, u"-3"}});
    EXPECT_FALSE(page.State(1157).enabled);
    EXPECT_EQ(page.State(1160).text, u"-3");
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(run.Number("COPY1_DENSITY_LEVEL_MANUAL"), 0);
}

struct CEmailCase
{
    std::u16string_view address;
    std::u16string_view smtpPort;
    MessageCode code;
    std::int32_t control;
};

class EmailChecks : public testing::TestWithParam<CEmailCase>
{
};

TEST_P(EmailChecks, RefuseTheFieldAndWriteNothing)
{
    const CEmailCase& c = GetParam();
    CPageRun run(8314, EmailSettingsPage());
    CPage& page = run.Open();
    run.Set({{1367, c.address}, {1373, c.smtpPort}, {1365, u"Front desk"}});
    const CCheckResult result = page.Store();
    EXPECT_EQ(result.code, c.code);
    EXPECT_EQ(result.controlId, c.control);
    const std::u16string stored = run.context.store.GetItemText("EMAIL_SET_DLG", "EMAIL_SENDER_NAME");
    EXPECT_EQ(stored == u"Front desk", c.code == kOk);

    // Disable turns every check off.
    run.Set({{1362, u"1"}});
    EXPECT_TRUE(page.Store().Ok());
    EXPECT_EQ(run.Number("EMAIL_ENABLE"), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases,
                         EmailChecks,
                         testing::Values(CEmailCase{u"desk@example.com", u"25", kOk, 0},
                                         CEmailCase{u"@example.com", u"25", kMsgMachineEmailAddressErr, 1367},
                                         CEmailCase{u"desk@", u"25", kMsgMachineEmailAddressErr, 1367},
                                         CEmailCase{u"", u"25", kMsgMachineEmailAddressErr, 1367},
                                         CEmailCase{u"a@b@c", u"25", kMsgMachineEmailAddressErr, 1367},
                                         CEmailCase{u"a@b", u"0", kMsgInvalidRangeValue, 1373},
                                         CEmailCase{u"a@b", u"65536", kMsgInvalidRangeValue, 1373},
                                         CEmailCase{u"a@b", u"", kMsgInvalidRangeValue, 1373},
                                         CEmailCase{u"a@b", u"65535", kOk, 0},
                                         CEmailCase{u"a@b", u"1", kOk, 0}));

TEST(EmailPage, GroupsFollowTheirSwitchesAndAreCheckedOnlyWhileOn)
{
    CPageRun run(8329, EmailSettingsPage());
    run.SetNumber("EMAIL_POP3_PORT_NO", 0);
    CPage& page = run.Open();
    run.Set({{1367, u"a@b"}});
    EXPECT_FALSE(page.State(1391).enabled) << "POP3 waits for POP before SMTP";
    ASSERT_TRUE(page.Store().Ok()) << "POP3 is not checked while off";
    run.Set({{1380, u"1"}});
    EXPECT_EQ(page.Store().controlId, 1391);
    run.Set({{1362, u"1"}});
    EXPECT_FALSE(page.State(1363).enabled);
    EXPECT_FALSE(page.State(1401).enabled);
}

// A port the user left out of range before switching its group off is not sent: the device
// would receive it cut to 16 bits.
TEST(EmailPage, AnUncheckedPortOutOfRangeKeepsTheStoredPort)
{
    CPageRun run(8313, EmailSettingsPage());
    CPage& page = run.Open();
    run.Set({{1380, u"1"}, {1391, u"99999"}, {1373, u"587"}, {1380, u"0"}, {1362, u"1"}});
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(run.Number("EMAIL_POP3_PORT_NO"), 110);
    EXPECT_EQ(run.Number("EMAIL_SMTP_PORT_NO"), 587) << "a port in range is written as usual";
}

TEST(LdapPage, EnablingChecksAndSliderValues)
{
    CPageRun run(8315, LdapSettingsPage());
    CPage& page = run.Open();
    EXPECT_FALSE(page.State(1259).enabled) << "the SSL port waits for SSL";
    run.Set({{1280, u"1"}, {1271, u"42"}});
    EXPECT_TRUE(page.State(1259).enabled);
    EXPECT_EQ(page.State(1272).text, u"42");

    page.SetText(1254, u"ldap;1");
    EXPECT_EQ(page.Store().code, kMsgLdapServerNameInvalidErr) << "kind 7 takes no semicolon";
    run.Set({{1254, u"ldap.example.com"}, {1259, u"0"}});
    EXPECT_EQ(page.Store().controlId, 1259);
    run.Set({{1259, u"636"}, {1276, u"p@ss;word"}});
    ASSERT_TRUE(page.Store().Ok()) << "a password takes any printable character";

    run.Set({{1256, u"0"}, {1252, u"1"}});
    ASSERT_TRUE(page.Store().Ok()) << "nothing is checked while LDAP is off";
    EXPECT_EQ(run.Number("LDAP_SER_PORT_NO"), 389);
}

struct CSwitchCase
{
    const CPageDef& (*def)();
    std::string_view item;
    std::int32_t onId;
    std::int32_t offId;
};

TEST(SwitchPages, NonZeroLoadsAsOnAndOnWritesOne)
{
    const CSwitchCase cases[] = {
        {MemoryDirectPage, "LDAP_MEMORY_DIRECT", 1971, 1972},
        {CameraDirectPage, "LDAP_CAMERA_DIRECT", 1991, 1992},
        {RemoteMonitorPage, "ADMIN_S_REM_MONITOR_STATUS", 1951, 1952},
    };
    for (const CSwitchCase& c : cases) {
        CPageRun run(8314, c.def());
        run.SetNumber(c.item, 0);
        CPage& page = run.Open();
        EXPECT_EQ(page.State(c.offId).value, 1) << c.item;
        run.Set({{c.onId, u"1"}});
        ASSERT_TRUE(page.Store().Ok());
        EXPECT_EQ(run.Number(c.item), 1) << c.item;

        run.SetNumber(c.item, 7);
        page.Load();
        EXPECT_EQ(page.State(c.onId).value, 1) << c.item;
        EXPECT_EQ(page.State(c.offId).value, 0) << c.item;
    }
}

TEST(CameraDirectPrintPage, MediaRadiosStoreThePaperMediaCodes)
{
    CPageRun run(8315, CameraDirectPrintPage());
    run.SetNumber("CAMERA_TRAY1_MEDIA_TYPE", 3);
    CPage& page = run.Open();
    EXPECT_EQ(page.State(2138).value, 1) << "transparency is no camera media: Plain";
    EXPECT_EQ(page.State(2144).value, 2) << "the factory Japanese postcard is not offered: A4";
    const std::pair<std::int32_t, std::int32_t> media[] = {{2142, 2}, {2141, 5}, {2139, 7}, {2140, 8}, {2138, 0}};
    for (const auto& [id, value] : media) {
        run.Set({{id, u"1"}});
        ASSERT_TRUE(page.Store().Ok());
        EXPECT_EQ(run.Number("CAMERA_TRAY1_MEDIA_TYPE"), value) << id;
    }
}

} // namespace
} // namespace qzb
