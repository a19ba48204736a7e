#include "pages/fax_pages.h"

#include "machine/device_data.h"
#include "model/input_chars.h"
#include "model/value_store.h"
#include "pages/common_checks.h"
#include "pages/control_rows.h"
#include "pages/page.h"

#include <algorithm>
#include <string>

namespace qzb {

using namespace rows;

namespace {

constexpr std::uint32_t kLarge = 0x301; // models of bits 0x1, 0x100 and 0x200
constexpr std::uint32_t kNever = 0;
constexpr auto kFaxRxName = "FAX_RX_SET_DLG";
constexpr auto kForwardPage = "FORWARD_LOCATION_DLG";

// ---- Fax transmission ----

constexpr CChoiceDef kTxQuality[] = {
    {"STR_FTO_CMB_QUALITY_PRIORITY_STD_TEXT", 0},
    {"STR_FTO_CMB_QUALITY_PRIORITY_FINE_TEXT", 1},
    {"STR_FTO_CMB_QUALITY_PRIORITY_S_FINE_TEXT", 2},
    {"STR_FTO_CMB_QUALITY_PRIORITY_STD_PHOTO", 4},
    {"STR_FTO_CMB_QUALITY_PRIORITY_FINE_PHOTO", 5},
    {"STR_FTO_CMB_QUALITY_PRIORITY_S_FINE_PHOTO", 6},
};

constexpr CControlDef kFaxTxControls[] = {
    Label({.id = 2011, .name = "txDensityLabel", .textKey = "STR_FTO_TXT_DENSITY_LEVEL", .row = 0}),
    {.id = 2012,
     .kind = ControlKind::Slider,
     .name = "txDensitySlider",
     .binding = Binding::Slider,
     .item = "FAX_TX_OPERATION_DENSITY_LEVEL",
     .minimum = -1,
     .maximum = 1,
     .offset = 1,
     .row = 0,
     .column = 1},
    Label({.id = 2014, .name = "txQualityLabel", .textKey = "STR_FTO_TXT_QUALITY_PRIORITY", .row = 1}),
    Combo({.id = 2015,
           .name = "txQualityCombo",
           .item = "FAX_TX_OPERATION_QUALITY_PRIORITY",
           .choices = kTxQuality,
           .row = 1}),
    Label({.id = 2016, .name = "defaultTxLabel", .textKey = "STR_FTO_TXT_DEFAULT_TX", .row = 2}),
    RadioButton({.id = 2017,
                 .name = "memoryTxRadio",
                 .textKey = "STR_FTO_RDO_MEMORY_TX",
                 .item = "FAX_TX_OPE_DEFAULT_TX",
                 .group = 1,
                 .radioValue = 0,
                 .row = 2,
                 .column = 1}),
    RadioButton({.id = 2018,
                 .name = "adfTxRadio",
                 .textKey = "STR_FTO_RDO_ADF_TX",
                 .item = "FAX_TX_OPE_DEFAULT_TX",
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 2,
                 .column = 2}),
    CheckBox({.id = 2019,
              .name = "txHeaderCheck",
              .textKey = "STR_FTO_CHK_HEADER",
              .item = "FAX_TX_OPE_HEADER",
              .row = 3,
              .column = 0}),
};

constexpr CPageDef kFaxTxPage{.name = "FAX_TX_SET_DLG",
                              .className = "CFaxTxSetDlg",
                              .typeCode = 0x02004000,
                              .titleKey = "STR_TREE_FAX_TX_OPERATIOIN",
                              .ratioKey = "STR_RATIO_TREE_FAX_TX_OPERATION",
                              .controls = kFaxTxControls};

// ---- Fax reception ----

constexpr std::int32_t kMemoryRxOn = 1301;
constexpr std::int32_t kPassword = 1304;
constexpr std::int32_t kOnHour = 1306;
constexpr std::int32_t kOnMinute = 1308;
constexpr std::int32_t kOffHour = 1310;
constexpr std::int32_t kOffMinute = 1312;
constexpr std::int32_t kTimeEdits[] = {kOnHour, kOnMinute, kOffHour, kOffMinute};
constexpr std::int32_t kRings = 1328;
constexpr std::int32_t kRingsValue = 1329;
constexpr std::int32_t kCallTransfer = 1331;
constexpr std::int32_t kCallTransferCount = 1332;
constexpr std::int32_t kCallTransferValue = 1333;

// A memory reception edit of digits: empty stands for "not set" (-1).
struct CMemoryRxEditRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view item = {};
    std::int32_t digits = 0; // both the limit and the zero-padded width
    std::int32_t row = -1;
    std::int32_t column = 0;
};

constexpr CControlDef MemoryRxEdit(const CMemoryRxEditRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Edit,
            .name = r.name,
            .binding = Binding::NumberOrEmpty,
            .item = r.item,
            .limit = r.digits,
            .inputKind = InputKind::Digits,
            .numberWidth = r.digits,
            .row = r.row,
            .column = r.column,
            .keepLastGood = r.id == kPassword};
}

// A tray switch of the large devices: Enable = 1, Disable = 0; any value but 0 loads as Enable.
// The enable button of a tray takes 1 and is the fallback; the disable button takes 0.
struct CTrayRadioRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view textKey = {};
    std::string_view item = {};
    bool enables = false;
    std::int32_t row = -1;
};

constexpr CControlDef TrayRadio(const CTrayRadioRow& r)
{
    return RadioButton({.id = r.id,
                        .name = r.name,
                        .textKey = r.textKey,
                        .item = r.item,
                        .group = 20 + r.row,
                        .radioValue = r.enables ? 1 : 0,
                        .fallback = r.enables,
                        .row = r.row,
                        .column = r.enables ? 1 : 2,
                        .modelMask = kLarge});
}

struct CForwardRadioRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view textKey = {};
    std::int32_t radioValue = 0;
    bool fallback = false;
    std::int32_t column = 0;
};

constexpr CControlDef ForwardRadio(const CForwardRadioRow& r)
{
    CControlDef control = RadioButton({.id = r.id,
                                       .name = r.name,
                                       .textKey = r.textKey,
                                       .item = "FAX_RX_OPE_FORWARD",
                                       .group = 7,
                                       .radioValue = r.radioValue,
                                       .fallback = r.fallback,
                                       .row = 7,
                                       .column = r.column});
    // Choosing forwarding asks where to: the dialog opens when the button becomes checked.
    control.opensDialog = r.radioValue == 2 ? std::string_view() : kForwardPage;
    return control;
}

constexpr CControlDef kFaxRxControls[] = {
    Label({.id = 1300, .name = "memoryRxLabel", .textKey = "STR_FRO_TXT_MEMORY_RX", .row = 0}),
    RadioButton({.id = kMemoryRxOn,
                 .name = "memoryRxOnRadio",
                 .textKey = "STR_FRO_RDO_ON",
                 .item = "FAX_RX_OPE_MEMORY_RX_MODE",
                 .group = 1,
                 .radioValue = 1,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = 1302,
                 .name = "memoryRxOffRadio",
                 .textKey = "STR_FRO_RDO_OFF",
                 .item = "FAX_RX_OPE_MEMORY_RX_MODE",
                 .group = 1,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 0,
                 .column = 2}),
    Label({.id = 1303, .name = "memoryRxPasswordLabel", .textKey = "STR_FRO_TXT_MEMORY_RX_PASSWORD", .row = 1}),
    MemoryRxEdit({.id = kPassword,
                  .name = "memoryRxPasswordEdit",
                  .item = "FAX_RX_OPE_MEMORY_RX_MODD_PASS",
                  .digits = 4,
                  .row = 1,
                  .column = 1}),
    Label({.id = 1305, .name = "memoryRxOnTimeLabel", .textKey = "STR_FRO_TXT_MEMORY_RX_ON_TIME", .row = 2}),
    MemoryRxEdit({.id = kOnHour,
                  .name = "memoryRxOnHourEdit",
                  .item = "FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME",
                  .digits = 2,
                  .row = 2,
                  .column = 1}),
    MemoryRxEdit({.id = kOnMinute,
                  .name = "memoryRxOnMinuteEdit",
                  .item = "FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME",
                  .digits = 2,
                  .row = 2,
                  .column = 2}),
    Label({.id = 1309, .name = "memoryRxOffTimeLabel", .textKey = "STR_FRO_TXT_MEMORY_RX_OFF_TIME", .row = 3}),
    MemoryRxEdit({.id = kOffHour,
                  .name = "memoryRxOffHourEdit",
                  .item = "FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME",
                  .digits = 2,
                  .row = 3,
                  .column = 1}),
    MemoryRxEdit({.id = kOffMinute,
                  .name = "memoryRxOffMinuteEdit",
                  .item = "FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME",
                  .digits = 2,
                  .row = 3,
                  .column = 2}),
    Label({.id = 1313, .name = "reductionRxLabel", .textKey = "STR_FRO_TXT_REDUCTION_RX", .row = 4}),
    RadioButton({.id = 1314,
                 .name = "reductionOffRadio",
                 .textKey = "STR_FRO_RDO_OFF",
                 .item = "FAX_RX_OPE_REDUCTION_RX",
                 .group = 2,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 4,
                 .column = 1}),
    RadioButton({.id = 1315,
                 .name = "reductionOnRadio",
                 .textKey = "STR_FRO_RDO_ON",
                 .item = "FAX_RX_OPE_REDUCTION_RX",
                 .group = 2,
                 .radioValue = 0,
                 .row = 4,
                 .column = 2}),
    RadioButton({.id = 1316,
                 .name = "reductionCutRadio",
                 .textKey = "STR_FRO_RDO_CUT",
                 .item = "FAX_RX_OPE_REDUCTION_RX",
                 .group = 2,
                 .radioValue = 2,
                 .row = 4,
                 .column = 3}),
    Label({.id = 1317, .name = "rxPrintLabel", .textKey = "STR_FRO_TXT_RX_PRINT", .row = 5}),
    RadioButton({.id = 1318,
                 .name = "memoryRxPrintRadio",
                 .textKey = "STR_FRO_RDO_MEMORY_RX",
                 .item = "FAX_RX_OPE_RX_PRINT",
                 .group = 3,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 5,
                 .column = 1}),
    RadioButton({.id = 1319,
                 .name = "printRxRadio",
                 .textKey = "STR_FRO_RDO_PRINT_RX",
                 .item = "FAX_RX_OPE_RX_PRINT",
                 .group = 3,
                 .radioValue = 0,
                 .row = 5,
                 .column = 2}),
    Label({.id = 1320, .name = "rxModeLabel", .textKey = "STR_FRO_TXT_RX_MODE", .row = 6}),
    RadioButton({.id = 1321,
                 .name = "autoRxRadio",
                 .textKey = "STR_FRO_RDO_AUTO_RX",
                 .item = "FAX_RX_OPE_RX_MODE",
                 .group = 4,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 6,
                 .column = 1}),
    RadioButton({.id = 1322,
                 .name = "manualRxRadio",
                 .textKey = "STR_FRO_RDO_MANUAL_RX",
                 .item = "FAX_RX_OPE_RX_MODE",
                 .group = 4,
                 .radioValue = 1,
                 .row = 6,
                 .column = 2}),
    Label({.id = 1323, .name = "forwardLabel", .textKey = "STR_FRO_TXT_FORWARD", .row = 7}),
    ForwardRadio({.id = 1324,
                  .name = "forwardOnRadio",
                  .textKey = "STR_FRO_RDO_FORWARD_ON",
                  .radioValue = 0,
                  .fallback = true,
                  .column = 1}),
    ForwardRadio({.id = 1325,
                  .name = "forwardOnPrintRadio",
                  .textKey = "STR_FRO_RDO_FORWARD_ON_PRINT",
                  .radioValue = 1,
                  .column = 2}),
    ForwardRadio({.id = 1326, .name = "forwardOffRadio", .textKey = "STR_FRO_RDO_OFF", .radioValue = 2, .column = 3}),
    Label({.id = 1327, .name = "ringsLabel", .textKey = "STR_FRO_TXT_NUM_OF_RINGS", .row = 8}),
    // The range and the stored value follow the fax country; the page's rules load and store it.
    {.id = kRings, .kind = ControlKind::Slider, .name = "ringsSlider", .maximum = 16, .row = 8, .column = 1},
    {.id = kRingsValue, .name = "ringsValue", .row = 8, .column = 2},
    CheckBox({.id = 1330,
              .name = "footerCheck",
              .textKey = "STR_FRO_CHK_FOOTER",
              .item = "FAX_RX_OPE_FOOTER",
              .row = 9,
              .column = 0}),
    CheckBox({.id = kCallTransfer,
              .name = "callTransferCheck",
              .textKey = "STR_FRO_CHK_CALL_TRANSFER",
              .item = "FAX_RX_OPE_CALL_TRANSFER",
              .row = 10,
              .column = 0}),
    {.id = kCallTransferCount,
     .kind = ControlKind::Slider,
     .name = "callTransferSlider",
     .binding = Binding::Slider,
     .item = "FAX_RX_OPE_CALL_TRANSFER_NUM",
     .minimum = 0,
     .maximum = 9,
     .row = 10,
     .column = 1},
    {.id = kCallTransferValue, .name = "callTransferValue", .row = 10, .column = 2},
    CheckBox({.id = 1334,
              .name = "closedNetworkCheck",
              .textKey = "STR_FRO_CHK_CLOSED_NETWORK",
              .item = "FAX_RX_OPE_CLOSED_NETWORK",
              .row = 11,
              .column = 0,
              .modelMask = kNever}),
    Label({.id = 1336, .name = "tray1Label", .textKey = "STR_FRO_TXT_SELECT_TRAY1", .row = 12, .modelMask = kLarge}),
    TrayRadio({.id = 1337,
               .name = "tray1EnableRadio",
               .textKey = "STR_FRO_RDO_ENABLE",
               .item = "FAX_RX_OPE_SELECT_TRAY_TRAY1",
               .enables = true,
               .row = 12}),
    TrayRadio({.id = 1338,
               .name = "tray1DisableRadio",
               .textKey = "STR_FRO_RDO_DISABLE",
               .item = "FAX_RX_OPE_SELECT_TRAY_TRAY1",
               .enables = false,
               .row = 12}),
    Label({.id = 1339, .name = "tray2Label", .textKey = "STR_FRO_TXT_SELECT_TRAY2", .row = 13, .modelMask = kLarge}),
    TrayRadio({.id = 1340,
               .name = "tray2EnableRadio",
               .textKey = "STR_FRO_RDO_ENABLE",
               .item = "FAX_RX_OPE_SELECT_TRAY_TRAY2",
               .enables = true,
               .row = 13}),
    TrayRadio({.id = 1341,
               .name = "tray2DisableRadio",
               .textKey = "STR_FRO_RDO_DISABLE",
               .item = "FAX_RX_OPE_SELECT_TRAY_TRAY2",
               .enables = false,
               .row = 13}),
    Label({.id = 1342, .name = "tray3Label", .textKey = "STR_FRO_TXT_SELECT_TRAY3", .row = 14, .modelMask = kLarge}),
    TrayRadio({.id = 1343,
               .name = "tray3EnableRadio",
               .textKey = "STR_FRO_RDO_ENABLE",
               .item = "FAX_RX_OPE_SELECT_TRAY_TRAY3",
               .enables = true,
               .row = 14}),
    TrayRadio({.id = 1344,
               .name = "tray3DisableRadio",
               .textKey = "STR_FRO_RDO_DISABLE",
               .item = "FAX_RX_OPE_SELECT_TRAY_TRAY3",
               .enables = false,
               .row = 14}),
    Label({.id = 1345, .name = "selectTrayLabel", .textKey = "STR_FRO_TXT_SELECT_TRAY", .row = 15}),
    RadioButton({.id = 1346,
                 .name = "selectTray1Radio",
                 .textKey = "STR_FRO_RDO_TRAY1",
                 .item = "FAX_RX_OPE_SELECT_TRAY",
                 .group = 8,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 15,
                 .column = 1}),
    RadioButton({.id = 1347,
                 .name = "selectTray2Radio",
                 .textKey = "STR_FRO_RDO_TRAY2",
                 .item = "FAX_RX_OPE_SELECT_TRAY",
                 .group = 8,
                 .radioValue = 1,
                 .row = 15,
                 .column = 2}),
};

const COperationBlock& SwitchBlock(const CPage& page)
{
    return page.Env().device != nullptr ? page.Env().device->operationBlock : kInitialOperationBlock;
}

std::int32_t FaxCountry(const CValueStore& store)
{
    return store.GetItemNumber("USER_SET_DLG", "USER_FAX_PTT_SET");
}

std::u16string Decimal(std::int32_t number)
{
    const std::string text = std::to_string(number);
    return std::u16string(text.begin(), text.end());
}

void ShowSliderValues(CPage& page)
{
    page.SetCaption(kRingsValue, Decimal(page.State(kRings).value));
    page.SetCaption(kCallTransferValue, Decimal(page.State(kCallTransferCount).value));
    page.SetEnabled(kCallTransferCount, page.IsChecked(kCallTransfer));
    page.SetEnabled(kCallTransferValue, page.IsChecked(kCallTransfer));
}

void LoadFaxRx(CPage& page)
{
    CValueStore& store = *page.Env().store;
    // Memory reception off keeps neither a password nor a time window, and an on-hour of -1 means
    // no window: the edits show what storing the page will write.
    const bool memoryRx = page.IsChecked(kMemoryRxOn);
    if (!memoryRx) {
        page.State(kPassword).text.clear();
    }
    if (!memoryRx || page.State(kOnHour).text.empty()) {
        for (const std::int32_t id : kTimeEdits) {
            page.State(id).text.clear();
        }
    }
    if (store.GetItemNumber(kFaxRxName, "FAX_RX_OPE_FORWARD") == 2) {
        store.SetItemText(kForwardPage, "FAX_RX_OPE_FAX_NUMBER", u"");
        store.SetItemText(kForwardPage, "FAX_RX_OPE_EMAIL_ADDRESS", u"");
    }
    const CRingScale scale = RingScale(FaxCountry(store), SwitchBlock(page));
    const std::int64_t position =
        std::int64_t{store.GetItemNumber(kFaxRxName, "FAX_RX_OPE_NUM_OF_RINGS")} + scale.offset;
    page.SetRange(kRings, scale.minimum, scale.maximum);
    page.State(kRings).value =
        (position < scale.minimum || position > scale.maximum) ? scale.minimum : static_cast<std::int32_t>(position);
    ShowSliderValues(page);
}

void FaxRxChanged(CPage& page, std::int32_t)
{
    ShowSliderValues(page);
}

std::int32_t Number(const CPage& page, std::int32_t id)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(LeadingDecimal(page.State(id).text), -1, 1000));
}

CCheckResult CheckFaxRx(const CPage& page)
{
    if (!page.IsChecked(kMemoryRxOn)) {
        return {};
    }
    const CValueStore& store = *page.Env().store;
    const std::u16string& password = page.State(kPassword).text;
    if (!IsInputTextValid(password, InputKind::Digits, store)) {
        return {kMsgInvalidRangeValue, kPassword};
    }
    // The device takes four digits or no password at all.
    if (!password.empty() && password.size() != 4) {
        return {kMsgMemoryRxPasswordErr, kPassword};
    }
    for (const std::int32_t id : kTimeEdits) {
        if (!IsInputTextValid(page.State(id).text, InputKind::Digits, store)) {
            return {kMsgInvalidRangeValue, id};
        }
    }
    const auto empty = std::count_if(
        std::begin(kTimeEdits), std::end(kTimeEdits), [&](std::int32_t id) { return page.State(id).text.empty(); });
    if (empty == std::ssize(kTimeEdits)) {
        return {};
    }
    for (const std::int32_t id : kTimeEdits) {
        if (page.State(id).text.empty()) {
            return {kMsgMemoryRxTimeEdtErr, id};
        }
    }
    // The window travels as hour and minute bit fields; only a real time of day fits them.
    for (const std::int32_t id : kTimeEdits) {
        const bool hour = id == kOnHour || id == kOffHour;
        if (Number(page, id) > (hour ? 23 : 59)) {
            return {kMsgMemoryRxTimeEdtErr, id};
        }
    }
    return {};
}

void StoreFaxRx(const CPage& page, CValueStore& store)
{
    if (!page.IsChecked(kMemoryRxOn)) {
        store.SetItemNumber(kFaxRxName, "FAX_RX_OPE_MEMORY_RX_MODD_PASS", -1);
        store.SetItemNumber(kFaxRxName, "FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME", -1);
        store.SetItemNumber(kFaxRxName, "FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME", 0);
        store.SetItemNumber(kFaxRxName, "FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME", 0);
        store.SetItemNumber(kFaxRxName, "FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME", 0);
    }
    const CRingScale scale = RingScale(FaxCountry(store), SwitchBlock(page));
    store.SetItemNumber(kFaxRxName, "FAX_RX_OPE_NUM_OF_RINGS", page.State(kRings).value - scale.offset);
}

constexpr CPageRules kFaxRxRules{
    .afterLoad = LoadFaxRx, .onChange = FaxRxChanged, .check = CheckFaxRx, .afterStore = StoreFaxRx};

constexpr CPageDef kFaxRxPage{.name = kFaxRxName,
                              .className = "CFaxRxSetDlg",
                              .typeCode = 0x02008000,
                              .titleKey = "STR_TREE_FAX_RX_OPERATION",
                              .ratioKey = "STR_RATIO_TREE_FAX_RX_OPERATION",
                              .controls = kFaxRxControls,
                              .rules = &kFaxRxRules};

// ---- Forward location ----

constexpr std::int32_t kFaxMode = 1211;
constexpr std::int32_t kEmailMode = 1212;
constexpr std::int32_t kFaxNumberLabel = 1214;
constexpr std::int32_t kFaxNumber = 1215;
constexpr std::int32_t kEmailLabel = 1216;
constexpr std::int32_t kEmailAddress = 1217;

constexpr CControlDef kForwardControls[] = {
    Label({.id = 1210, .name = "forwardToLabel", .textKey = "STR_DLG_FL_TXT_FORWARD_TO", .row = 0}),
    RadioButton({.id = kFaxMode,
                 .name = "forwardFaxRadio",
                 .textKey = "STR_DLG_FL_RDO_FAX",
                 .item = "FAX_RX_OPE_FAX_EMAIL_MODE",
                 .group = 1,
                 .radioValue = 0,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = kEmailMode,
                 .name = "forwardEmailRadio",
                 .textKey = "STR_DLG_FL_RDO_EMAIL",
                 .item = "FAX_RX_OPE_FAX_EMAIL_MODE",
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 0,
                 .column = 2}),
    Label({.id = kFaxNumberLabel, .name = "forwardFaxNumberLabel", .textKey = "STR_DLG_FL_TXT_FAX_NUMBER", .row = 1}),
    TextEdit({.id = kFaxNumber,
              .name = "forwardFaxNumberEdit",
              .item = "FAX_RX_OPE_FAX_NUMBER",
              .inputKind = InputKind::FaxNumber,
              .limit = 50,
              .row = 1,
              .check = CheckRule::None}),
    Label({.id = kEmailLabel, .name = "forwardEmailAddressLabel", .textKey = "STR_DLG_FL_TXT_EMAIL_ADDRESS", .row = 2}),
    TextEdit({.id = kEmailAddress,
              .name = "forwardEmailAddressEdit",
              .item = "FAX_RX_OPE_EMAIL_ADDRESS",
              .inputKind = InputKind::EmailAddress,
              .limit = 64,
              .row = 2,
              .check = CheckRule::None}),
};

// Forwarding by e-mail needs the device to send mail: e-mail on, an SMTP server and the network.
bool EmailForwardingPossible(const CValueStore& store)
{
    return store.GetItemNumber("EMAIL_SET_DLG", "EMAIL_ENABLE") != 0 &&
           store.GetItemText("EMAIL_SET_DLG", "EMAIL_SMTP_NAME") != u"0.0.0.0" &&
           store.GetItemNumber("TCP_IP_SET_DLG", "NETWORK") != 0;
}

void ShowForwardMode(CPage& page)
{
    const bool fax = page.IsChecked(kFaxMode);
    for (const std::int32_t id : {kFaxNumberLabel, kFaxNumber}) {
        page.SetVisible(id, fax);
        page.SetEnabled(id, fax);
    }
    for (const std::int32_t id : {kEmailLabel, kEmailAddress}) {
        page.SetVisible(id, !fax);
        page.SetEnabled(id, !fax);
    }
}

void LoadForward(CPage& page)
{
    CValueStore& store = *page.Env().store;
    if (!EmailForwardingPossible(store)) {
        page.State(kFaxMode).value = 1;
        page.State(kEmailMode).value = 0;
        page.SetEnabled(kEmailMode, false);
        store.SetItemNumber(kForwardPage, "FAX_RX_OPE_FAX_EMAIL_MODE", 0);
    }
    // Only the chosen destination is kept when the dialog is stored; the other shows empty.
    page.State(page.IsChecked(kFaxMode) ? kEmailAddress : kFaxNumber).text.clear();
    ShowForwardMode(page);
}

void ForwardChanged(CPage& page, std::int32_t)
{
    ShowForwardMode(page);
}

CCheckResult CheckForward(const CPage& page)
{
    const CValueStore& store = *page.Env().store;
    if (page.IsChecked(kFaxMode)) {
        const std::u16string& number = page.State(kFaxNumber).text;
        if (!IsInputTextValid(number, InputKind::FaxNumber, store)) {
            return {kMsgInvalidRangeValue, kFaxNumber};
        }
        return number.empty() ? CCheckResult{kMsgForwardPhoneInvalidErr, kFaxNumber} : CCheckResult{};
    }
    const std::u16string& address = page.State(kEmailAddress).text;
    if (!IsInputTextValid(address, InputKind::EmailAddress, store)) {
        return {kMsgInvalidRangeValue, kEmailAddress};
    }
    return IsEmailAddress(address) ? CCheckResult{} : CCheckResult{kMsgMachineEmailAddressErr, kEmailAddress};
}

void StoreForward(const CPage& page, CValueStore& store)
{
    store.SetItemText(
        kForwardPage, page.IsChecked(kFaxMode) ? "FAX_RX_OPE_EMAIL_ADDRESS" : "FAX_RX_OPE_FAX_NUMBER", u"");
}

constexpr CPageRules kForwardRules{
    .afterLoad = LoadForward, .onChange = ForwardChanged, .check = CheckForward, .afterStore = StoreForward};

constexpr CPageDef kForwardDialog{.name = kForwardPage,
                                  .className = "CForwardLocationDlg",
                                  .pageClass = PageClass::SettingDialog,
                                  .titleKey = "STR_DLG_FORWARD_ADDRESS",
                                  .ratioKey = "STR_RATIO_DLG_FORWARD_ADDRESS",
                                  .controls = kForwardControls,
                                  .rules = &kForwardRules};

} // namespace

CRingScale RingScale(std::int32_t faxCountry, const COperationBlock& block)
{
    const std::int32_t bound = block[60] & 0x0F;
    // Elsewhere the slider counts the ring the device answers on, one more than it stores.
    return faxCountry == kFaxCountryJapan ? CRingScale{0, bound, 0} : CRingScale{1, bound + 1, 1};
}

const CPageDef& FaxTxSettingsPage()
{
    return kFaxTxPage;
}

const CPageDef& FaxRxSettingsPage()
{
    return kFaxRxPage;
}

const CPageDef& ForwardLocationDialog()
{
    return kForwardDialog;
}

} // namespace qzb
