#include "model/value_store.h"

#include "model/model_defaults.h"
#include "model/text_codec.h"

#include <gtest/gtest.h>

namespace qzb {
namespace {

TEST(ValueStore, HoldsThirtyTwoPagesOf273Records)
{
    CValueStore store;
    std::size_t records = 0;
    for (const CValuePage& page : store.Pages()) {
        records += page.records.size();
        EXPECT_EQ(store.FindPageRecords(page.name), &page.records);
    }
    EXPECT_EQ(store.Pages().size(), 32u);
    EXPECT_EQ(records, 273u);
    EXPECT_EQ(store.Pages().front().name, "MACHINE_SET_DLG");
    EXPECT_EQ(store.Pages().back().name, "REPORT_SET_DLG");
    EXPECT_EQ(store.FindPageRecords("machine_set_dlg"), nullptr);
}

TEST(ValueStore, InitialValues)
{
    CValueStore store;
    EXPECT_EQ(store.GetItemText("SD_PASS_DLG", "SERVICE_MAN_PASSWORD"), u"qorlex");
    EXPECT_EQ(store.GetItemNumber("IPP_SET_DLG", "IPP_JOB_K_OCTETS_SUPPORTED"), 4294967);
    EXPECT_EQ(store.GetItemNumber("SNMP_SET_DLG", "SNMP_READ_SECU LEVEL"), 2);
    EXPECT_EQ(store.GetItemText("DNS_CONF_DLG", "DNS_HOST_NAME"), u"ZW8120-xxxxxx");
    EXPECT_EQ(store.GetItemNumber("CAMERA_DIRECT_PRINT_DLG", "CAMERA_TRAY1_PAPER_SIZE"), 36);
    EXPECT_EQ(store.GetItemNumber("MACHINE_SET_DLG", "Machine_Language"), 0);
}

TEST(ValueStore, DuplicateKeyReachesOnlyItsFirstRecord)
{
    CValueStore store;
    store.SetItemNumber("COMMUNICATE_SET_DLG", "COMM_SET_PSTN_PBX", 1);
    store.SetItemText("COMMUNICATE_SET_DLG", "COMM_SET_PSTN_PBX", u"9");
    const auto& records = *store.FindPageRecords("COMMUNICATE_SET_DLG");
    ASSERT_EQ(records[3].key, "COMM_SET_PSTN_PBX");
    ASSERT_EQ(records[4].key, "COMM_SET_PSTN_PBX");
    EXPECT_EQ(records[3].number, 1);
    EXPECT_EQ(records[3].text, "9");
    EXPECT_EQ(records[4].number, 0);
    EXPECT_EQ(records[4].text, "");
}

TEST(ValueStore, UnknownPagesAndKeysReadNothingAndChangeNothing)
{
    CValueStore store;
    const CValueStore before;
    for (const auto& [page, key] : {std::pair{"NO_SUCH_DLG", "NETWORK"},
                                    std::pair{"TCP_IP_SET_DLG", "NO_SUCH_KEY"},
                                    std::pair{"TCP_IP_SET_DLG", ""},
                                    std::pair{"tcp_ip_set_dlg", "NETWORK"}}) {
        EXPECT_EQ(store.GetItemNumber(page, key), 0);
        EXPECT_EQ(store.GetItemText(page, key), u"");
        store.SetItemNumber(page, key, 77);
        store.SetItemText(page, key, u"x");
        store.SetItemTextRaw(page, key, "x");
    }
    for (std::size_t p = 0; p < store.Pages().size(); ++p) {
        for (std::size_t r = 0; r < store.Pages()[p].records.size(); ++r) {
            EXPECT_EQ(store.Pages()[p].records[r].number, before.Pages()[p].records[r].number);
            EXPECT_EQ(store.Pages()[p].records[r].text, before.Pages()[p].records[r].text);
        }
    }
}

TEST(ValueStore, TextIsCutAtTheLimitAndRawBytesStayVerbatim)
{
    CValueStore store;
    store.SetItemText("USER_SET_DLG", "USER_FAXNAME", std::u16string(1500, u'a'));
    EXPECT_EQ(store.GetItemTextRaw("USER_SET_DLG", "USER_FAXNAME").size(), CValueStore::kMaxTextBytes);
    store.SetItemText("USER_SET_DLG", "USER_FAXNAME", u"");
    EXPECT_EQ(store.GetItemTextRaw("USER_SET_DLG", "USER_FAXNAME"), "");

    store.SetItemTextRaw("USER_SET_DLG", "USER_NAME", std::string("\xB1\x80\x41\0tail", 8));
    EXPECT_EQ(store.GetItemTextRaw("USER_SET_DLG", "USER_NAME"), "\xB1\x80\x41");
    store.SetItemTextRaw("USER_SET_DLG", "USER_NAME", std::string(2000, '\x90'));
    EXPECT_EQ(store.GetItemTextRaw("USER_SET_DLG", "USER_NAME").size(), CValueStore::kMaxTextBytes);
}

TEST(ValueStore, DoubleByteCodePageKeepsWholeCharacters)
{
    ASSERT_TRUE(SetProcessCodePage("CP932"));
    CValueStore store;
    const std::u16string ten = u"\u65E5\u672C\u8A9E\u306E\u6587\u5B57\u3067\u3059\u3088\u3002";
    store.SetItemText("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT", ten);
    EXPECT_EQ(store.GetItemTextRaw("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT").size(), 20u);
    EXPECT_EQ(store.GetItemText("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT"), ten);

    // 'a' and 511 double-byte characters fill 1023 bytes exactly; without the 'a' the 512th
    // character would be split, so only 1022 bytes are kept.
    const std::u16string mixed = u"a" + std::u16string(600, u'\u65E5');
    store.SetItemText("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT", mixed);
    const std::string stored = store.GetItemTextRaw("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT");
    EXPECT_EQ(stored.size(), 1023u);
    EXPECT_EQ(store.GetItemText("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT"), mixed.substr(0, 512));

    const std::u16string evenStart = std::u16string(600, u'\u65E5');
    store.SetItemText("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT", evenStart);
    EXPECT_EQ(store.GetItemTextRaw("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT").size(), 1022u);
    EXPECT_EQ(store.GetItemText("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT"), evenStart.substr(0, 511));
    ASSERT_TRUE(SetProcessCodePage(kDefaultCodePage));
}

struct ModelDefaultCase
{
    std::uint32_t modelBit;
    std::int32_t tray1, pttSet, zoom;
    std::u16string hostName;
};

class ModelDefaults : public ::testing::TestWithParam<ModelDefaultCase>
{
};

TEST_P(ModelDefaults, ApplyPerModelBit)
{
    const ModelDefaultCase& c = GetParam();
    CValueStore store;
    store.SetItemNumber("USER_SET_DLG", "USER_PRESET_ZOOM_CHANGE", 5);
    ApplyModelDefaults(store, c.modelBit);
    EXPECT_EQ(store.GetItemNumber("PAPER_SET_DLG", "PAPER_TRAY1_PAPER_SIZE"), c.tray1);
    EXPECT_EQ(store.GetItemNumber("USER_SET_DLG", "USER_FAX_PTT_SET"), c.pttSet);
    EXPECT_EQ(store.GetItemNumber("USER_SET_DLG", "USER_PRESET_ZOOM_CHANGE"), c.zoom);
    EXPECT_EQ(store.GetItemText("DNS_CONF_DLG", "DNS_HOST_NAME"), c.hostName);
}

INSTANTIATE_TEST_SUITE_P(EveryModel,
                         ModelDefaults,
                         ::testing::Values(ModelDefaultCase{0x001, 2, 0, 0, u"ZW8120-xxxxxx"},
                                           ModelDefaultCase{0x100, 2, 0, 0, u"ZW8120-xxxxxx"},
                                           ModelDefaultCase{0x200, 2, 0, 0, u"ZW8120-xxxxxx"},
                                           ModelDefaultCase{0x002, 12, 39, 0, u"QP-RZ41NFxxxxxx"},
                                           ModelDefaultCase{0x004, 12, 39, 1, u"QP-RZ41NFxxxxxx"}),
                         [](const auto& info) { return "ModelBit" + std::to_string(info.param.modelBit); });

TEST(ModelDefaults, CoralModelsAdjustTheirTexts)
{
    CValueStore store;
    ApplyModelDefaults(store, 0x002);
    EXPECT_EQ(store.GetItemText("FTP_SET_DLG", "PROXY_SERVER"), u"");
    EXPECT_EQ(store.GetItemText("EMAIL_SET_DLG", "EMAIL_SBJ"), u"From zw3120MF");
    EXPECT_EQ(store.GetItemText("EMAIL_SET_DLG", "EMAIL_POP3_PASS"), u"");
    EXPECT_EQ(store.GetItemNumber("COPY_SET_DLG", "COPY1_PAPER_PRIORITY"), 0);
    EXPECT_EQ(store.GetItemNumber("FAX_RX_SET_DLG", "FAX_RX_OPE_SELECT_TRAY"), 0);
}

} // namespace
} // namespace qzb
