#include "app/app_context.h"
#include "model/model_defaults.h"
#include "model/operation_seed.h"
#include "model/panel_code.h"
#include "pages/communication_pages.h"
#include "pages/fax_pages.h"
#include "pages/page.h"
#include "pages/page_input.h"
#include "pages/user_page.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qzb {
namespace {

constexpr auto kFaxRx = "FAX_RX_SET_DLG";
constexpr auto kForward = "FORWARD_LOCATION_DLG";
constexpr auto kUser = "USER_SET_DLG";
constexpr auto kComm = "COMMUNICATE_SET_DLG";

struct CFax
{
    explicit CFax(std::int32_t model = 8313, std::int32_t country = 0)
        : context(model)
    {
        ApplyModelDefaults(context.store, context.modelBit);
        context.device.dialModeCode = SeedFromOperationBlock(context.device.operationBlock, context.store);
        context.store.SetItemNumber(kUser, "USER_FAX_PTT_SET", country);
    }
    CPage& Open(const CPageDef& def)
    {
        page =
            std::make_unique<CPage>(def, CPageEnv{&context.store, &context.strings, context.modelBit, &context.device});
        page->Initialise();
        return *page;
    }
    InputRefusal Set(std::int32_t id, std::u16string_view value)
    {
        return ApplyControlInput(*page, *page->FindControl(id), value);
    }
    std::int32_t Number(std::string_view storePage, std::string_view key) const
    {
        return context.store.GetItemNumber(storePage, key);
    }
    CAppContext context;
    std::unique_ptr<CPage> page;
};

struct CMemoryRxCase
{
    std::u16string_view password, onHour, onMinute, offHour, offMinute;
    MessageCode code;
    std::int32_t control;
};

// Password and time window while memory reception is on; a failure writes nothing.
TEST(FaxRxPage, MemoryReceptionChecksAndWhatItStores)
{
    constexpr CMemoryRxCase kCases[] = {
        {u"12", u"", u"", u"", u"", kMsgMemoryRxPasswordErr, 1304},
        {u"", u"", u"", u"", u"", kOk, 0},
        {u"1234", u"08", u"30", u"", u"", kMsgMemoryRxTimeEdtErr, 1310},
        {u"", u"", u"30", u"17", u"00", kMsgMemoryRxTimeEdtErr, 1306},
        // Beyond a time of day the packed window would be garbled.
        {u"", u"99", u"75", u"17", u"00", kMsgMemoryRxTimeEdtErr, 1306},
        {u"", u"08", u"75", u"17", u"00", kMsgMemoryRxTimeEdtErr, 1308},
        {u"", u"08", u"30", u"24", u"00", kMsgMemoryRxTimeEdtErr, 1310},
        {u"", u"08", u"30", u"17", u"60", kMsgMemoryRxTimeEdtErr, 1312},
        {u"0042", u"23", u"59", u"00", u"00", kOk, 0},
    };
    for (const CMemoryRxCase& c : kCases) {
        CFax fax;
        fax.Open(FaxRxSettingsPage());
        ASSERT_EQ(fax.Set(1301, u"1"), InputRefusal::None);
        const std::pair<std::int32_t, std::u16string_view> edits[] = {
            {1304, c.password}, {1306, c.onHour}, {1308, c.onMinute}, {1310, c.offHour}, {1312, c.offMinute}};
        for (const auto& [id, text] : edits) {
            ASSERT_EQ(fax.Set(id, text), InputRefusal::None) << id;
        }
        const CCheckResult result = fax.page->Store();
        const std::string label(c.onHour.begin(), c.onHour.end());
        EXPECT_EQ(result.code, c.code) << label;
        EXPECT_EQ(result.controlId, c.control) << label;
        EXPECT_EQ(fax.Number(kFaxRx, "FAX_RX_OPE_MEMORY_RX_MODE"), c.code == kOk ? 1 : 0) << label;
    }

    CFax fax;
    fax.Open(FaxRxSettingsPage());
    fax.Set(1301, u"1");
    fax.Set(1304, u"0042");
    fax.Set(1306, u"23");
    ASSERT_FALSE(fax.page->Store().Ok()) << "half a window";
    fax.Set(1304, u"");
    fax.Set(1306, u"");
    ASSERT_TRUE(fax.page->Store().Ok());
    EXPECT_EQ(fax.Number(kFaxRx, "FAX_RX_OPE_MEMORY_RX_MODD_PASS"), -1) << "an empty password is stored as -1";
    EXPECT_EQ(fax.Number(kFaxRx, "FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME"), -1);

    fax.Set(1304, u"7777");
    fax.Set(1302, u"1");
    fax.Set(1306, u"99");
    ASSERT_TRUE(fax.page->Store().Ok()) << "nothing is checked while memory reception is off";
    EXPECT_EQ(fax.Number(kFaxRx, "FAX_RX_OPE_MEMORY_RX_MODD_PASS"), -1);
    EXPECT_EQ(fax.Number(kFaxRx, "FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME"), -1);
    EXPECT_EQ(fax.Number(kFaxRx, "FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME"), 0);
    EXPECT_EQ(fax.Number(kFaxRx, "FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME"), 0);
}

// The slider counts from 0 under fax country 19 and shows one ring more elsewhere.
TEST(FaxRxPage, RingCountScaleFollowsTheFaxCountry)
{
    for (const auto& [country, position, minimum] : {std::tuple{19, 0, 0}, std::tuple{39, 1, 1}}) {
        CFax fax(8313, country);
        fax.context.store.SetItemNumber(kFaxRx, "FAX_RX_OPE_NUM_OF_RINGS", 0);
        fax.context.device.operationBlock[60] = 0x05;
        CPage& page = fax.Open(FaxRxSettingsPage());
        EXPECT_EQ(page.State(1328).value, position) << country;
        EXPECT_EQ(page.State(1328).minimum, minimum) << country;
        EXPECT_EQ(page.State(1328).maximum, 5 + minimum) << country;
        EXPECT_EQ(fax.Set(1328, u"7"), InputRefusal::OutOfRange) << "beyond the bound of byte 60";
        ASSERT_EQ(fax.Set(1328, u"3"), InputRefusal::None);
        ASSERT_TRUE(page.Store().Ok());
        EXPECT_EQ(fax.Number(kFaxRx, "FAX_RX_OPE_NUM_OF_RINGS"), 3 - minimum) << country;
    }
}

TEST(FaxRxPage, ForwardingOpensItsDialogAndOffClearsTheDestination)
{
    CFax fax;
    fax.context.store.SetItemNumber(kFaxRx, "FAX_RX_OPE_FORWARD", 2);
    fax.context.store.SetItemText(kForward, "FAX_RX_OPE_FAX_NUMBER", u"0123");
    CPage& page = fax.Open(FaxRxSettingsPage());
    EXPECT_EQ(fax.context.store.GetItemText(kForward, "FAX_RX_OPE_FAX_NUMBER"), u"");
    EXPECT_TRUE(page.IsChecked(1326));
    EXPECT_EQ(page.DialogFor(1326), "");
    fax.Set(1325, u"1");
    EXPECT_EQ(page.DialogFor(1325), "FORWARD_LOCATION_DLG");
    // Cancel in the dialog takes the choice back: Off is checked again, as it was.
    EXPECT_EQ(page.CancelOpeningChoice(1325, 0, 1326), 1326);
    EXPECT_TRUE(page.IsChecked(1326));
    EXPECT_FALSE(page.IsChecked(1325));
    fax.Set(1325, u"1");
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(fax.Number(kFaxRx, "FAX_RX_OPE_FORWARD"), 1);
}

// E-mail forwarding needs e-mail on, an SMTP server and the network; otherwise Fax is forced.
TEST(ForwardLocationDialog, ForcesFaxModeAndKeepsOnlyTheChosenDestination)
{
    const auto open = [](CFax& fax, std::int32_t email, std::u16string_view smtp, std::int32_t network) -> CPage& {
        fax.context.store.SetItemNumber("EMAIL_SET_DLG", "EMAIL_ENABLE", email);
        fax.context.store.SetItemText("EMAIL_SET_DLG", "EMAIL_SMTP_NAME", smtp);
        fax.context.store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK", network);
        fax.context.store.SetItemNumber(kForward, "FAX_RX_OPE_FAX_EMAIL_MODE", 1);
        fax.context.store.SetItemText(kForward, "FAX_RX_OPE_FAX_NUMBER", u"0123");
        fax.context.store.SetItemText(kForward, "FAX_RX_OPE_EMAIL_ADDRESS", u"a@b");
        return fax.Open(ForwardLocationDialog());
    };
    for (const auto& [email, smtp, network] :
         {std::tuple{0, u"10.0.0.1", 1}, std::tuple{1, u"0.0.0.0", 1}, std::tuple{1, u"10.0.0.1", 0}}) {
        CFax fax;
        CPage& page = open(fax, email, smtp, network);
        EXPECT_TRUE(page.IsChecked(1211));
        EXPECT_FALSE(page.State(1212).enabled);
        EXPECT_FALSE(page.State(1217).visible);
        EXPECT_EQ(fax.Number(kForward, "FAX_RX_OPE_FAX_EMAIL_MODE"), 0) << "written at once";
    }

    CFax fax;
    CPage& page = open(fax, 1, u"10.0.0.1", 1);
    EXPECT_TRUE(page.IsChecked(1212));
    EXPECT_FALSE(page.State(1215).visible);
    ASSERT_EQ(fax.Set(1217, u"a@b@c"), InputRefusal::None);
    EXPECT_EQ(page.Store().code, kMsgMachineEmailAddressErr);
    ASSERT_EQ(fax.Set(1217, u"fax@example.com"), InputRefusal::None);
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(fax.context.store.GetItemText(kForward, "FAX_RX_OPE_EMAIL_ADDRESS"), u"fax@example.com");
    EXPECT_EQ(fax.context.store.GetItemText(kForward, "FAX_RX_OPE_FAX_NUMBER"), u"");

    fax.Set(1211, u"1");
    EXPECT_TRUE(page.State(1215).visible);
    EXPECT_EQ(page.Store().code, kMsgForwardPhoneInvalidErr);
    ASSERT_EQ(fax.Set(1215, u"012-34P5"), InputRefusal::None);
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(fax.context.store.GetItemText(kForward, "FAX_RX_OPE_EMAIL_ADDRESS"), u"");
}

// Byte 30 of the switch block holds the limits; a field without one takes the country's.
TEST(AutoRedialPage, LimitsByCountryAndSwitchBlock)
{
    struct CCase
    {
        std::int32_t country;
        std::uint8_t byte30;
        std::uint8_t written;
        std::int32_t maxCount;
        std::int32_t minInterval;
    };
    constexpr CCase kCases[] = {
        {1, 0x00, 0x22, 2, 2},
        {15, 0x0F, 0x28, 8, 2},
        {6, 0x70, 0x5A, 10, 5},
        {37, 0x03, 0x43, 3, 4},
        {20, 0x00, 0x1A, 10, 1},
        {1, 0x33, 0x33, 3, 3}, // the block's limits stand over the country's
    };
    for (const CCase& c : kCases) {
        CFax fax(8313, c.country);
        fax.context.device.operationBlock[30] = c.byte30;
        CPage& page = fax.Open(AutoRedialPage());
        EXPECT_EQ(fax.context.device.operationBlock[30], c.written) << c.country;
        const std::string top = std::to_string(c.maxCount);
        const std::string over = std::to_string(c.maxCount + 1);
        const std::string below = std::to_string(c.minInterval - 1);
        fax.Set(1234, u"99");
        fax.Set(1231, std::u16string(over.begin(), over.end()));
        EXPECT_EQ(page.Store().controlId, 1231) << c.country;
        fax.Set(1231, std::u16string(top.begin(), top.end()));
        fax.Set(1234, std::u16string(below.begin(), below.end()));
        EXPECT_EQ(page.Store().controlId, 1234) << c.country;
        const std::string least = std::to_string(c.minInterval);
        fax.Set(1234, std::u16string(least.begin(), least.end()));
        EXPECT_TRUE(page.Store().Ok()) << c.country;
        fax.Set(1234, u"");
        EXPECT_EQ(page.Store().code, kMsgInvalidRangeValue) << "an empty interval";
    }
}

TEST(UserPage, TimeZoneMapsBothWays)
{
    for (std::int32_t stored = -1; stored <= 60; ++stored) {
        const CTimeZonePositions positions = TimeZonePositions(stored);
        const bool used = (stored >= 0 && stored <= 24) || (stored >= 33 && stored <= 56);
        EXPECT_EQ(StoredTimeZone(positions), used ? stored : 0) << stored;
    }
    EXPECT_EQ(TimeZonePositions(33), (CTimeZonePositions{12, 1})) << "GMT -00:30";
    EXPECT_EQ(TimeZonePositions(56), (CTimeZonePositions{0, 0})) << "GMT -12:00";

    CFax fax;
    fax.context.store.SetItemNumber(kUser, "USER_TIME_ZOON", 33);
    CPage& page = fax.Open(UserSettingsPage());
    EXPECT_EQ(page.State(1135).value, 12);
    EXPECT_EQ(page.State(1137).value, 1);
    EXPECT_FALSE(page.State(1137).enabled);
    fax.Set(1135, u"20");
    fax.Set(1137, u"1");
    fax.Set(1135, u"25");
    EXPECT_EQ(page.State(1137).value, 0) << "GMT +12 has no half hour";
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(fax.Number(kUser, "USER_TIME_ZOON"), 24);

    // Values no option stands for used to point past the list.
    for (const std::int32_t stored : {25, 32, 57, 63, -1}) {
        fax.context.store.SetItemNumber(kUser, "USER_TIME_ZOON", stored);
        fax.Open(UserSettingsPage());
        EXPECT_EQ(fax.page->State(1135).value, 13) << stored;
        EXPECT_EQ(fax.page->State(1137).value, 0) << stored;
    }
}

struct CDateCase
{
    std::u16string_view month, day;
    MessageCode code;
    std::int32_t control;
};

TEST(UserPage, DateRulesAndTyping)
{
    constexpr CDateCase kCases[] = {
        {u"04", u"31", kMsgInvalidRangeValue, 1133},
        {u"02", u"29", kOk, 0},
        {u"02", u"30", kMsgInvalidRangeValue, 1133},
        {u"12", u"31", kOk, 0},
        {u"00", u"10", kMsgInvalidRangeValue, 1131},
        {u"05", u"00", kMsgInvalidRangeValue, 1133},
        {u"05", u"", kMsgInvalidRangeValue, 1133},
    };
    for (const std::u16string_view year : {u"24", u"25"}) {
        for (const CDateCase& c : kCases) {
            CFax fax;
            CPage& page = fax.Open(UserSettingsPage());
            fax.Set(1129, year);
            ASSERT_EQ(fax.Set(1131, c.month), InputRefusal::None);
            ASSERT_EQ(fax.Set(1133, c.day), InputRefusal::None);
            const CCheckResult result = page.Store();
            EXPECT_EQ(result.code, c.code)
                << std::string(c.month.begin(), c.month.end()) << "/" << std::string(c.day.begin(), c.day.end());
            EXPECT_EQ(result.controlId, c.control);
        }
    }

    CFax fax;
    CPage& page = fax.Open(UserSettingsPage());
    EXPECT_EQ(page.State(1131).text, u"01") << "shown with two digits";
    for (const auto& [id, text] : {std::pair{1125, u"24"}, {1125, u"3"}, {1127, u"6"}, {1131, u"13"}, {1131, u"2"}}) {
        EXPECT_EQ(fax.Set(id, text), InputRefusal::CharacterRefused) << id;
    }
    EXPECT_EQ(page.State(1131).text, u"01") << "a refused change keeps the text";
    fax.Set(1125, u"");
    EXPECT_EQ(page.Store().controlId, 1125) << "an empty hour";
    fax.Set(1125, u"23");
    fax.Set(1145, u"Front desk");
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(fax.Number(kUser, "USER_TIME_HOUR"), 23);
    EXPECT_EQ(fax.context.store.GetItemTextRaw(kUser, "USER_NAME"), TextToPanelBytes(u"Front desk"));
}

// Which dial type buttons show, and what each writes, by dial mode code.
TEST(CommunicationPage, DialTypeByDialModeCodeAndCountryRows)
{
    struct CCase
    {
        std::int32_t mode;
        bool single;
        bool speeds;
    };
    for (const CCase& c :
         {CCase{0, false, true}, {1, true, false}, {2, false, false}, {3, true, false}, {4, true, false}}) {
        CFax fax;
        fax.context.device.dialModeCode = c.mode;
        fax.context.store.SetItemNumber(kComm, "COMM_SET_TONE_PULSE", 1);
        fax.context.store.SetItemNumber(kComm, "COMM_SET_PULSE", 1);
        CPage& page = fax.Open(CommunicationSettingsPage());
        EXPECT_EQ(page.State(1184).visible, c.single) << c.mode;
        EXPECT_EQ(page.State(1182).visible, c.speeds) << c.mode;
        EXPECT_EQ(page.State(1183).value, c.speeds ? 1 : 0) << c.mode;
        EXPECT_EQ(page.State(1184).value, c.single ? 1 : 0) << c.mode;
        if (c.speeds) {
            fax.Set(1182, u"1");
        }
        ASSERT_TRUE(page.Store().Ok());
        EXPECT_EQ(fax.Number(kComm, "COMM_SET_TONE_PULSE"), 1) << c.mode;
        EXPECT_EQ(fax.Number(kComm, "COMM_SET_PULSE"), c.speeds ? 0 : 1) << "left alone but for mode 0";
        fax.Set(1181, u"1");
        ASSERT_TRUE(page.Store().Ok());
        EXPECT_EQ(fax.Number(kComm, "COMM_SET_TONE_PULSE"), 0) << c.mode;
        EXPECT_FALSE(page.State(1196).visible);
    }

    CFax japan(8313, kFaxCountryJapan);
    CPage& page = japan.Open(CommunicationSettingsPage());
    EXPECT_TRUE(page.State(1196).visible);
    EXPECT_FALSE(page.State(1193).enabled);
    ASSERT_EQ(japan.Set(1191, u"1"), InputRefusal::None);
    ASSERT_EQ(japan.Set(1193, u"9"), InputRefusal::None);
    ASSERT_TRUE(page.Store().Ok());
    EXPECT_EQ(japan.Number(kComm, "COMM_SET_PSTN_PBX"), 1);
    EXPECT_EQ(japan.context.store.GetItemText(kComm, "COMM_SET_PSTN_PBX"), u"9") << "one record, number and text";
}

} // namespace
} // namespace qzb
