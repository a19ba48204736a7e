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
constexpr std::int32_t kDigits = 2;
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
    Label(2011, "txDensityLabel", "STR_FTO_TXT_DENSITY_LEVEL", 0),
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
    Label(2014, "txQualityLabel", "STR_FTO_TXT_QUALITY_PRIORITY", 1),
    Combo(2015, "txQualityCombo", "FAX_TX_OPERATION_QUALITY_PRIORITY", kTxQuality, 1),
    Label(2016, "defaultTxLabel", "STR_FTO_TXT_DEFAULT_TX", 2),
    RadioButton(2017, "memoryTxRadio", "STR_FTO_RDO_MEMORY_TX", "FAX_TX_OPE_DEFAULT_TX", 1, 0, false, 2, 1),
    RadioButton(2018, "adfTxRadio", "STR_FTO_RDO_ADF_TX", "FAX_TX_OPE_DEFAULT_TX", 1, 1, true, 2, 2),
    CheckBox(2019, "txHeaderCheck", "STR_FTO_CHK_HEADER", "FAX_TX_OPE_HEADER", 3, 0),
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
constexpr CControlDef MemoryRxEdit(
    std::int32_t id, std::string_view name, std::string_view item, std::int32_t width, std::int32_t row, int column)
{
    return {.id = id,
            .kind = ControlKind::Edit,
            .name = name,
            .binding = Binding::NumberOrEmpty,
            .item = item,
            .limit = width,
            .inputKind = kDigits,
            .numberWidth = width,
            .row = row,
            .column = column,
            .keepLastGood = id == kPassword};
}

// A tray switch of the large devices: Enable = 1, Disable = 0; any value but 0 loads as Enable.
constexpr CControlDef TrayRadio(
    std::int32_t id, std::string_view name, std::string_view key, std::string_view item, bool enable, std::int32_t row)
{
    CControlDef control = RadioButton(id, name, key, item, 20 + row, enable ? 1 : 0, enable, row, enable ? 1 : 2);
    control.modelMask = kLarge;
    control.hideExcluded = true;
    return control;
}

constexpr CControlDef ForwardRadio(
    std::int32_t id, std::string_view name, std::string_view key, std::int32_t value, bool fallback, int column)
{
    CControlDef control = RadioButton(id, name, key, "FAX_RX_OPE_FORWARD", 7, value, fallback, 7, column);
    // Choosing forwarding asks where to: the dialog opens when the button becomes checked.
    control.opensDialog = value == 2 ? std::string_view() : kForwardPage;
    return control;
}

constexpr CControlDef kFaxRxControls[] = {
    Label(1300, "memoryRxLabel", "STR_FRO_TXT_MEMORY_RX", 0),
    RadioButton(kMemoryRxOn, "memoryRxOnRadio", "STR_FRO_RDO_ON", "FAX_RX_OPE_MEMORY_RX_MODE", 1, 1, false, 0, 1),
    RadioButton(1302, "memoryRxOffRadio", "STR_FRO_RDO_OFF", "FAX_RX_OPE_MEMORY_RX_MODE", 1, 0, true, 0, 2),
    Label(1303, "memoryRxPasswordLabel", "STR_FRO_TXT_MEMORY_RX_PASSWORD", 1),
    MemoryRxEdit(kPassword, "memoryRxPasswordEdit", "FAX_RX_OPE_MEMORY_RX_MODD_PASS", 4, 1, 1),
    Label(1305, "memoryRxOnTimeLabel", "STR_FRO_TXT_MEMORY_RX_ON_TIME", 2),
    MemoryRxEdit(kOnHour, "memoryRxOnHourEdit", "FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME", 2, 2, 1),
    MemoryRxEdit(kOnMinute, "memoryRxOnMinuteEdit", "FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME", 2, 2, 2),
    Label(1309, "memoryRxOffTimeLabel", "STR_FRO_TXT_MEMORY_RX_OFF_TIME", 3),
    MemoryRxEdit(kOffHour, "memoryRxOffHourEdit", "FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME", 2, 3, 1),
    MemoryRxEdit(kOffMinute, "memoryRxOffMinuteEdit", "FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME", 2, 3, 2),
    Label(1313, "reductionRxLabel", "STR_FRO_TXT_REDUCTION_RX", 4),
    RadioButton(1314, "reductionOffRadio", "STR_FRO_RDO_OFF", "FAX_RX_OPE_REDUCTION_RX", 2, 1, true, 4, 1),
    RadioButton(1315, "reductionOnRadio", "STR_FRO_RDO_ON", "FAX_RX_OPE_REDUCTION_RX", 2, 0, false, 4, 2),
    RadioButton(1316, "reductionCutRadio", "STR_FRO_RDO_CUT", "FAX_RX_OPE_REDUCTION_RX", 2, 2, false, 4, 3),
    Label(1317, "rxPrintLabel", "STR_FRO_TXT_RX_PRINT", 5),
    RadioButton(1318, "memoryRxPrintRadio", "STR_FRO_RDO_MEMORY_RX", "FAX_RX_OPE_RX_PRINT", 3, 1, true, 5, 1),
    RadioButton(1319, "printRxRadio", "STR_FRO_RDO_PRINT_RX", "FAX_RX_OPE_RX_PRINT", 3, 0, false, 5, 2),
    Label(1320, "rxModeLabel", "STR_FRO_TXT_RX_MODE", 6),
    RadioButton(1321, "autoRxRadio", "STR_FRO_RDO_AUTO_RX", "FAX_RX_OPE_RX_MODE", 4, 0, true, 6, 1),
    RadioButton(1322, "manualRxRadio", "STR_FRO_RDO_MANUAL_RX", "FAX_RX_OPE_RX_MODE", 4, 1, false, 6, 2),
    Label(1323, "forwardLabel", "STR_FRO_TXT_FORWARD", 7),
    ForwardRadio(1324, "forwardOnRadio", "STR_FRO_RDO_FORWARD_ON", 0, true, 1),
    ForwardRadio(1325, "forwardOnPrintRadio", "STR_FRO_RDO_FORWARD_ON_PRINT", 1, false, 2),
    ForwardRadio(1326, "forwardOffRadio", "STR_FRO_RDO_OFF", 2, false, 3),
    Label(1327, "ringsLabel", "STR_FRO_TXT_NUM_OF_RINGS", 8),
    // The range and the stored value follow the fax country; the page's rules load and store it.
    {.id = kRings, .kind = ControlKind::Slider, .name = "ringsSlider", .maximum = 16, .row = 8, .column = 1},
    {.id = kRingsValue, .name = "ringsValue", .row = 8, .column = 2},
    CheckBox(1330, "footerCheck", "STR_FRO_CHK_FOOTER", "FAX_RX_OPE_FOOTER", 9, 0),
    CheckBox(kCallTransfer, "callTransferCheck", "STR_FRO_CHK_CALL_TRANSFER", "FAX_RX_OPE_CALL_TRANSFER", 10, 0),
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
    CheckBox(1334, "closedNetworkCheck", "STR_FRO_CHK_CLOSED_NETWORK", "FAX_RX_OPE_CLOSED_NETWORK", 11, 0, kNever),
    Label(1336, "tray1Label", "STR_FRO_TXT_SELECT_TRAY1", 12, kLarge),
    TrayRadio(1337, "tray1EnableRadio", "STR_FRO_RDO_ENABLE", "FAX_RX_OPE_SELECT_TRAY_TRAY1", true, 12),
    TrayRadio(1338, "tray1DisableRadio", "STR_FRO_RDO_DISABLE", "FAX_RX_OPE_SELECT_TRAY_TRAY1", false, 12),
    Label(1339, "tray2Label", "STR_FRO_TXT_SELECT_TRAY2", 13, kLarge),
    TrayRadio(1340, "tray2EnableRadio", "STR_FRO_RDO_ENABLE", "FAX_RX_OPE_SELECT_TRAY_TRAY2", true, 13),
    TrayRadio(1341, "tray2DisableRadio", "STR_FRO_RDO_DISABLE", "FAX_RX_OPE_SELECT_TRAY_TRAY2", false, 13),
    Label(1342, "tray3Label", "STR_FRO_TXT_SELECT_TRAY3", 14, kLarge),
    TrayRadio(1343, "tray3EnableRadio", "STR_FRO_RDO_ENABLE", "FAX_RX_OPE_SELECT_TRAY_TRAY3", true, 14),
    TrayRadio(1344, "tray3DisableRadio", "STR_FRO_RDO_DISABLE", "FAX_RX_OPE_SELECT_TRAY_TRAY3", false, 14),
    Label(1345, "selectTrayLabel", "STR_FRO_TXT_SELECT_TRAY", 15),
    RadioButton(1346, "selectTray1Radio", "STR_FRO_RDO_TRAY1", "FAX_RX_OPE_SELECT_TRAY", 8, 0, true, 15, 1),
    RadioButton(1347, "selectTray2Radio", "STR_FRO_RDO_TRAY2", "FAX_RX_OPE_SELECT_TRAY", 8, 1, false, 15, 2),
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
    if (!IsInputTextValid(password, kDigits, store)) {
        return {kMsgInvalidRangeValue, kPassword};
    }
    // The device takes four digits or no password at all.
    if (!password.empty() && password.size() != 4) {
        return {kMsgMemoryRxPasswordErr, kPassword};
    }
    for (const std::int32_t id : kTimeEdits) {
        if (!IsInputTextValid(page.State(id).text, kDigits, store)) {
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
constexpr std::int32_t kFaxNumberKind = 5;
constexpr std::int32_t kEmailKind = 7;

constexpr CControlDef kForwardControls[] = {
    Label(1210, "forwardToLabel", "STR_DLG_FL_TXT_FORWARD_TO", 0),
    RadioButton(kFaxMode, "forwardFaxRadio", "STR_DLG_FL_RDO_FAX", "FAX_RX_OPE_FAX_EMAIL_MODE", 1, 0, false, 0, 1),
    RadioButton(kEmailMode, "forwardEmailRadio", "STR_DLG_FL_RDO_EMAIL", "FAX_RX_OPE_FAX_EMAIL_MODE", 1, 1, true, 0, 2),
    Label(kFaxNumberLabel, "forwardFaxNumberLabel", "STR_DLG_FL_TXT_FAX_NUMBER", 1),
    TextEdit(kFaxNumber,
             "forwardFaxNumberEdit",
             "FAX_RX_OPE_FAX_NUMBER",
             kFaxNumberKind,
             50,
             1,
             kEveryModelMask,
             CheckRule::None),
    Label(kEmailLabel, "forwardEmailAddressLabel", "STR_DLG_FL_TXT_EMAIL_ADDRESS", 2),
    TextEdit(kEmailAddress,
             "forwardEmailAddressEdit",
             "FAX_RX_OPE_EMAIL_ADDRESS",
             kEmailKind,
             64,
             2,
             kEveryModelMask,
             CheckRule::None),
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
        if (!IsInputTextValid(number, kFaxNumberKind, store)) {
            return {kMsgInvalidRangeValue, kFaxNumber};
        }
        return number.empty() ? CCheckResult{kMsgForwardPhoneInvalidErr, kFaxNumber} : CCheckResult{};
    }
    const std::u16string& address = page.State(kEmailAddress).text;
    if (!IsInputTextValid(address, kEmailKind, store)) {
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
