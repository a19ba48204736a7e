#include "pages/communication_pages.h"

#include "machine/device_data.h"
#include "model/input_chars.h"
#include "model/value_store.h"
#include "pages/common_checks.h"
#include "pages/control_rows.h"
#include "pages/fax_pages.h"
#include "pages/page.h"

namespace qzb {

using namespace rows;

namespace {

constexpr auto kCommPage = "COMMUNICATE_SET_DLG";

// ---- Communication ----

constexpr std::int32_t kTone = 1181;
constexpr std::int32_t kPulse10 = 1182;
constexpr std::int32_t kPulse20 = 1183;
constexpr std::int32_t kPulse = 1184;
constexpr std::int32_t kPbx = 1191;
constexpr std::int32_t kPbxPrefixLabel = 1192;
constexpr std::int32_t kPbxPrefix = 1193;
constexpr std::int32_t kTelFaxMode = 1194;
constexpr std::int32_t kRingBackTimeLabel = 1195;
constexpr std::int32_t kRingBackTime = 1196;
constexpr std::int32_t kAnsweringMachine = 1197;
constexpr std::int32_t kJapanOnly[] = {kTelFaxMode, kRingBackTimeLabel, kRingBackTime, kAnsweringMachine};

constexpr CChoiceDef kRingBackTimes[] = {
    {"STR_CS_CMB_RBT_SIGNAL_TIME_5SEC", 0},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_10SEC", 1},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_15SEC", 2},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_20SEC", 3},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_25SEC", 4},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_30SEC", 5},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_60SEC", 6},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_90SEC", 7},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_120SEC", 8},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_150SEC", 9},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_180SEC", 10},
    {"STR_CS_CMB_RBT_SIGNAL_TIME_240SEC", 11},
};

// The dial type buttons bind two items between them, so the page's rules load and store them.
struct CDialRadioRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view textKey = {};
    std::int32_t column = 0;
};

constexpr CControlDef DialRadio(const CDialRadioRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Radio,
            .name = r.name,
            .textKey = r.textKey,
            .group = 1,
            .row = 0,
            .column = r.column};
}

constexpr CControlDef kCommControls[] = {
    Label({.id = 1180, .name = "dialTypeLabel", .textKey = "STR_CS_TXT_DIAL_TYPE", .row = 0}),
    DialRadio({.id = kTone, .name = "toneRadio", .textKey = "STR_CS_RDO_TONE", .column = 1}),
    DialRadio({.id = kPulse10, .name = "pulse10ppsRadio", .textKey = "STR_CS_RDO_PULSE_10PPS", .column = 2}),
    DialRadio({.id = kPulse20, .name = "pulse20ppsRadio", .textKey = "STR_CS_RDO_PULSE_20PPS", .column = 3}),
    DialRadio({.id = kPulse, .name = "pulseRadio", .textKey = "STR_CS_RDO_PULSE", .column = 2}),
    Label({.id = 1185, .name = "lineMonitorLabel", .textKey = "STR_CS_TXT_LINE_MONITOR", .row = 1}),
    RadioButton({.id = 1186,
                 .name = "lineMonitorHighRadio",
                 .textKey = "STR_CS_RDO_HIGH",
                 .item = "COMM_SET_LINE_MONITOR",
                 .group = 2,
                 .radioValue = 0,
                 .row = 1,
                 .column = 1}),
    RadioButton({.id = 1187,
                 .name = "lineMonitorLowRadio",
                 .textKey = "STR_CS_RDO_LOW",
                 .item = "COMM_SET_LINE_MONITOR",
                 .group = 2,
                 .radioValue = 1,
                 .row = 1,
                 .column = 2}),
    RadioButton({.id = 1188,
                 .name = "lineMonitorOffRadio",
                 .textKey = "STR_CS_RDO_OFF",
                 .item = "COMM_SET_LINE_MONITOR",
                 .group = 2,
                 .radioValue = 2,
                 .fallback = true,
                 .row = 1,
                 .column = 3}),
    Label({.id = 1189, .name = "pstnPbxLabel", .textKey = "STR_CS_TXT_PSTN_PBX", .row = 2}),
    RadioButton({.id = 1190,
                 .name = "pstnRadio",
                 .textKey = "STR_CS_RDO_PSTN",
                 .item = "COMM_SET_PSTN_PBX",
                 .group = 3,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 2,
                 .column = 1}),
    RadioButton({.id = kPbx,
                 .name = "pbxRadio",
                 .textKey = "STR_CS_RDO_PBX",
                 .item = "COMM_SET_PSTN_PBX",
                 .group = 3,
                 .radioValue = 1,
                 .row = 2,
                 .column = 2}),
    Label({.id = kPbxPrefixLabel, .name = "pbxPrefixLabel", .textKey = "STR_CS_TXT_PBX_PREFIX", .row = 3}),
    // The prefix is the text of the record whose number holds the PSTN/PBX choice.
    TextEdit({.id = kPbxPrefix,
              .name = "pbxPrefixEdit",
              .item = "COMM_SET_PSTN_PBX",
              .inputKind = InputKind::Digits,
              .limit = 4,
              .row = 3,
              .check = CheckRule::None}),
    CheckBox({.id = kTelFaxMode,
              .name = "telFaxModeCheck",
              .textKey = "STR_CS_CHK_TEL_FAX_MODE",
              .item = "COMM_SET_TEL_FAXMODE",
              .row = 4,
              .column = 0}),
    Label({.id = kRingBackTimeLabel, .name = "ringBackTimeLabel", .textKey = "STR_CS_TXT_RBT_SIGNAL_TIME", .row = 5}),
    Combo({.id = kRingBackTime,
           .name = "ringBackTimeCombo",
           .item = "COMM_SET_RBT_SIGNAL_TIME",
           .choices = kRingBackTimes,
           .row = 5}),
    CheckBox({.id = kAnsweringMachine,
              .name = "answeringMachineCheck",
              .textKey = "STR_CS_CHK_ANSWER_MACHINE",
              .item = "COMM_SET_ANSWER_MACHINE",
              .row = 6,
              .column = 0}),
};

std::int32_t DialModeCode(const CPage& page)
{
    return page.Env().device != nullptr ? page.Env().device->dialModeCode : kInitialDialModeCode;
}

// Dial mode codes 1, 3 and 4 offer one pulse choice, 0 both speeds, 2 none.
bool OffersSinglePulse(std::int32_t mode)
{
    return mode == 1 || mode == 3 || mode == 4;
}

void UpdateCommStates(CPage& page)
{
    const bool pbx = page.IsChecked(kPbx);
    page.SetEnabled(kPbxPrefixLabel, pbx);
    page.SetEnabled(kPbxPrefix, pbx);
}

void LoadComm(CPage& page)
{
    const CValueStore& store = *page.Env().store;
    const std::int32_t mode = DialModeCode(page);
    const bool single = OffersSinglePulse(mode);
    page.SetVisible(kPulse, single);
    page.SetEnabled(kPulse, single);
    for (const std::int32_t id : {kPulse10, kPulse20}) {
        page.SetVisible(id, mode == 0);
        page.SetEnabled(id, mode == 0);
    }
    const bool tone = store.GetItemNumber(kCommPage, "COMM_SET_TONE_PULSE") == 0;
    const bool fast = store.GetItemNumber(kCommPage, "COMM_SET_PULSE") == 1;
    page.State(kTone).value = tone ? 1 : 0;
    page.State(kPulse).value = !tone && single ? 1 : 0;
    page.State(kPulse10).value = !tone && mode == 0 && !fast ? 1 : 0;
    page.State(kPulse20).value = !tone && mode == 0 && fast ? 1 : 0;

    const bool japan = store.GetItemNumber("USER_SET_DLG", "USER_FAX_PTT_SET") == kFaxCountryJapan;
    for (const std::int32_t id : kJapanOnly) {
        page.SetVisible(id, japan);
        page.SetEnabled(id, japan);
    }
    UpdateCommStates(page);
}

void CommChanged(CPage& page, std::int32_t)
{
    UpdateCommStates(page);
}

CCheckResult CheckComm(const CPage& page)
{
    if (page.IsChecked(kPbx) && !IsInputTextValid(page.State(kPbxPrefix).text, InputKind::Digits, *page.Env().store)) {
        return {kMsgInvalidRangeValue, kPbxPrefix};
    }
    return {};
}

void StoreComm(const CPage& page, CValueStore& store)
{
    if (page.IsChecked(kTone)) {
        store.SetItemNumber(kCommPage, "COMM_SET_TONE_PULSE", 0);
    } else if (page.IsChecked(kPulse)) {
        store.SetItemNumber(kCommPage, "COMM_SET_TONE_PULSE", 1);
    } else if (page.IsChecked(kPulse10) || page.IsChecked(kPulse20)) {
        store.SetItemNumber(kCommPage, "COMM_SET_TONE_PULSE", 1);
        store.SetItemNumber(kCommPage, "COMM_SET_PULSE", page.IsChecked(kPulse20) ? 1 : 0);
    }
}

constexpr CPageRules kCommRules{
    .afterLoad = LoadComm, .onChange = CommChanged, .check = CheckComm, .afterStore = StoreComm};

constexpr CPageDef kCommPageDef{.name = kCommPage,
                                .className = "CCommunicateSetDlg",
                                .typeCode = 0x02000400,
                                .titleKey = "STR_TREE_COMM_SETTING",
                                .ratioKey = "STR_RATIO_TREE_COMM_SETTING",
                                .controls = kCommControls,
                                .rules = &kCommRules};

// ---- Auto redial ----

constexpr std::int32_t kRedialCount = 1231;
constexpr std::int32_t kRedialInterval = 1234;

struct CRedialEditRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view item = {};
    std::int32_t row = -1;
};

constexpr CControlDef RedialEdit(const CRedialEditRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Edit,
            .name = r.name,
            .binding = Binding::Number,
            .item = r.item,
            .limit = 2,
            .inputKind = InputKind::Digits,
            .row = r.row,
            .column = 1};
}

constexpr CControlDef kRedialControls[] = {
    Label({.id = 1230, .name = "redialCountLabel", .textKey = "STR_AR_TXT_NUMBER_OF_TIMES", .row = 0}),
    RedialEdit({.id = kRedialCount, .name = "redialCountEdit", .item = "AUTO_REDIAL_NUMBER_OF_TIME", .row = 0}),
    {.id = 1232, .name = "redialCountUnitLabel", .textKey = "STR_AR_TXT_TIMES", .row = 0, .column = 2},
    Label({.id = 1233, .name = "redialIntervalLabel", .textKey = "STR_AR_TXT_INTERVAL", .row = 1}),
    RedialEdit({.id = kRedialInterval, .name = "redialIntervalEdit", .item = "AUTO_REDIAL_WAIT_TIME", .row = 1}),
    {.id = 1235, .name = "redialIntervalUnitLabel", .textKey = "STR_AR_TXT_MINUTES", .row = 1, .column = 2},
};

COperationBlock Block(const CPage& page)
{
    return page.Env().device != nullptr ? page.Env().device->operationBlock : kInitialOperationBlock;
}

std::int32_t Country(const CPage& page)
{
    return page.Env().store->GetItemNumber("USER_SET_DLG", "USER_FAX_PTT_SET");
}

// The device learns the limits from the switch block, so a block without them gets the country's.
void LoadRedial(CPage& page)
{
    if (page.Env().device != nullptr) {
        RedialLimits(Country(page), page.Env().device->operationBlock);
    }
}

CCheckResult CheckRedial(const CPage& page)
{
    COperationBlock block = Block(page);
    const CRedialLimits limits = RedialLimits(Country(page), block);
    const CValueStore& store = *page.Env().store;
    const std::u16string& count = page.State(kRedialCount).text;
    if (count.empty() || !IsInRange(count, 1, limits.maxCount) || !IsInputTextValid(count, InputKind::Digits, store)) {
        return {kMsgInvalidRangeValue, kRedialCount};
    }
    const std::u16string& interval = page.State(kRedialInterval).text;
    if (interval.empty() || !IsInRange(interval, limits.minInterval, 99) ||
        !IsInputTextValid(interval, InputKind::Digits, store)) {
        return {kMsgInvalidRangeValue, kRedialInterval};
    }
    return {};
}

constexpr CPageRules kRedialRules{.afterLoad = LoadRedial, .check = CheckRedial};

constexpr CPageDef kRedialPage{.name = "AUTO_REDIAL_DLG",
                               .className = "CAutoRedialDlg",
                               .typeCode = 0x02001000,
                               .titleKey = "STR_TREE_AUTO_REDIAL_SETTING",
                               .ratioKey = "STR_RATIO_TREE_AUTO_REDIAL_SETTING",
                               .controls = kRedialControls,
                               .rules = &kRedialRules};

} // namespace

CRedialLimits RedialLimits(std::int32_t faxCountry, COperationBlock& block)
{
    CRedialLimits limits{10, 2};
    switch (faxCountry) {
        case 1:
            limits.maxCount = 2;
            break;
        case 6:
            limits.minInterval = 5;
            break;
        case 15:
            limits.maxCount = 8;
            break;
        case 20:
        case 24:
            limits.minInterval = 1;
            break;
        case 37:
            limits.minInterval = 4;
            break;
        default:
            break;
    }
    // Byte 30: the minimum interval in bits 4-6, the maximum count in the low four bits.
    std::uint8_t& byte = block[30];
    const std::int32_t interval = (byte >> 4) & 0x07;
    if (interval >= 1 && interval <= 5) {
        limits.minInterval = interval;
    } else {
        byte = static_cast<std::uint8_t>((byte & ~0x70) | (limits.minInterval << 4));
    }
    const std::int32_t count = byte & 0x0F;
    if (count >= 1 && count <= 10) {
        limits.maxCount = count;
    } else {
        byte = static_cast<std::uint8_t>((byte & 0xF0) | limits.maxCount);
    }
    return limits;
}

const CPageDef& CommunicationSettingsPage()
{
    return kCommPageDef;
}

const CPageDef& AutoRedialPage()
{
    return kRedialPage;
}

} // namespace qzb
