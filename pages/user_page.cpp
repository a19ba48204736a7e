#include "pages/user_page.h"

#include "model/input_chars.h"
#include "model/value_store.h"
#include "pages/common_checks.h"
#include "pages/control_rows.h"
#include "pages/page.h"

#include <algorithm>

namespace qzb {

using namespace rows;

namespace {

constexpr auto kUserPage = "USER_SET_DLG";

constexpr std::int32_t kHour = 1125;
constexpr std::int32_t kMinute = 1127;
constexpr std::int32_t kYear = 1129;
constexpr std::int32_t kMonth = 1131;
constexpr std::int32_t kDay = 1133;
constexpr std::int32_t kZoneHour = 1135;
constexpr std::int32_t kZoneMinute = 1137;
constexpr std::int32_t kUserFaxNumber = 1143;
constexpr std::int32_t kUserName = 1145;

constexpr std::int32_t kGmtMinus12 = 0;
constexpr std::int32_t kGmtMinus00 = 12;
constexpr std::int32_t kGmtPlus00 = 13;
constexpr std::int32_t kGmtPlus12 = 25;

constexpr CChoiceDef kCountries[] = {
    {"STR_US_CMB_FAX_PTT_SETTING_ARGENTINA", 0},     {"STR_US_CMB_FAX_PTT_SETTING_AUSTRALIA", 1},
    {"STR_US_CMB_FAX_PTT_SETTING_AUSTRIA", 2},       {"STR_US_CMB_FAX_PTT_SETTING_BELGIUM", 3},
    {"STR_US_CMB_FAX_PTT_SETTING_BRAZIL", 4},        {"STR_US_CMB_FAX_PTT_SETTING_CANADA", 5},
    {"STR_US_CMB_FAX_PTT_SETTING_CHINA", 6},         {"STR_US_CMB_FAX_PTT_SETTING_CZECH", 7},
    {"STR_US_CMB_FAX_PTT_SETTING_DENMARK", 8},       {"STR_US_CMB_FAX_PTTSETTING_EUROPE", 9},
    {"STR_US_CMB_FAX_PTT_SETTING_FINLAND", 10},      {"STR_US_CMB_FAX_PTT_SETTING_FRANCE", 11},
    {"STR_US_CMB_FAX_PTT_SETTING_GERMANY", 12},      {"STR_US_CMB_FAX_PTT_SETTING_GREECE", 13},
    {"STR_US_CMB_FAX_PTT_SETTING_HONG_KONG", 14},    {"STR_US_CMB_FAX_PTT_SETTING_HUNGARY", 15},
    {"STR_US_CMB_FAX_PTT_SETTING_IRELAND", 16},      {"STR_US_CMB_FAX_PTT_SETTING_ISRAEL", 17},
    {"STR_US_CMB_FAX_PTT_SETTING_ITALY", 18},        {"STR_US_CMB_FAX_PTT_SETTING_JAPAN", 19},
    {"STR_US_CMB_FAX_PTT_SETTING_KOREA", 20},        {"STR_US_CMB_FAX_PTT_SETTING_MALAYSIA", 21},
    {"STR_US_CMB_FAX_PTT_SETTING_MEXICO", 22},       {"STR_US_CMB_FAX_PTT_SETTING_NETHERLANDS", 23},
    {"STR_US_CMB_FAX_PTT_SETTING_NEW_ZEALAND", 24},  {"STR_US_CMB_FAX_PTT_SETTING_NORWAY", 25},
    {"STR_US_CMB_FAX_PTT_SETTING_PHILIPPINES", 26},  {"STR_US_CMB_FAX_PTT_SETTING_POLAND", 27},
    {"STR_US_CMB_FAX_PTT_SETTING_PORTUGAL", 28},     {"STR_US_CMB_FAX_PTT_SETTING_RUSSIA", 29},
    {"STR_US_CMB_FAX_PTT_SETTING_SAUDI_ARABIA", 30}, {"STR_US_CMB_FAX_PTT_SETTING_SINGAPORE", 31},
    {"STR_US_CMB_FAX_PTT_SETTING_SLOVAKIA", 32},     {"STR_US_CMB_FAX_PTT_SETTING_SOUTH_AFRICA", 33},
    {"STR_US_CMB_FAX_PTT_SETTING_SPAIN", 34},        {"STR_US_CMB_FAX_PTT_SETTING_SWEDEN", 35},
    {"STR_US_CMB_FAX_PTT_SETTING_SWITZERLAND", 36},  {"STR_US_CMB_FAX_PTT_SETTING_TAIWAN", 37},
    {"STR_US_CMB_FAX_PTT_SETTING_TURKEY", 38},       {"STR_US_CMB_FAX_PTT_SETTING_USA", 39},
    {"STR_US_CMB_FAX_PTT_SETTING_UK", 40},           {"STR_US_CMB_FAX_PTT_SETTING_VIETNAM", 41},
};

// Options are listed by position: the stored value is the combo position, mapped by the rules.
constexpr CChoiceDef kZoneHours[] = {
    {"STR_US_CMB_TIME_ZONE_GMT_MINUS_12", 0},  {"STR_US_CMB_TIME_ZONE_GMT_MINUS_11", 1},
    {"STR_US_CMB_TIME_ZONE_GMT_MINUS_10", 2},  {"STR_US_CMB_TIME_ZONE_GMT_MINUS_09", 3},
    {"STR_US_CMB_TIME_ZONE_GMT_MINUS_08", 4},  {"STR_US_CMB_TIME_ZONE_GMT_MINUS_07", 5},
    {"STR_US_CMB_TIME_ZONE_GMT_MINUS_06", 6},  {"STR_US_CMB_TIME_ZONE_GMT_MINUS_05", 7},
    {"STR_US_CMB_TIME_ZONE_GMT_MINUS_04", 8},  {"STR_US_CMB_TIME_ZONE_GMT_MINUS_03", 9},
    {"STR_US_CMB_TIME_ZONE_GMT_MINUS_02", 10}, {"STR_US_CMB_TIME_ZONE_GMT_MINUS_01", 11},
    {"STR_US_CMB_TIME_ZONE_GMT_MINUS_00", 12}, {"STR_US_CMB_TIME_ZONE_GMT_PLUS_00", 13},
    {"STR_US_CMB_TIME_ZONE_GMT_PLUS_01", 14},  {"STR_US_CMB_TIME_ZONE_GMT_PLUS_02", 15},
    {"STR_US_CMB_TIME_ZONE_GMT_PLUS_03", 16},  {"STR_US_CMB_TIME_ZONE_GMT_PLUS_04", 17},
    {"STR_US_CMB_TIME_ZONE_GMT_PLUS_05", 18},  {"STR_US_CMB_TIME_ZONE_GMT_PLUS_06", 19},
    {"STR_US_CMB_TIME_ZONE_GMT_PLUS_07", 20},  {"STR_US_CMB_TIME_ZONE_GMT_PLUS_08", 21},
    {"STR_US_CMB_TIME_ZONE_GMT_PLUS_09", 22},  {"STR_US_CMB_TIME_ZONE_GMT_PLUS_10", 23},
    {"STR_US_CMB_TIME_ZONE_GMT_PLUS_11", 24},  {"STR_US_CMB_TIME_ZONE_GMT_PLUS_12", 25},
};
constexpr CChoiceDef kZoneMinutes[] = {{"STR_US_CMB_TIME_ZONE_00", 0}, {"STR_US_CMB_TIME_ZONE_30", 1}};
constexpr CChoiceDef kDateFormats[] = {
    {"STR_US_CMB_DATA_FORMAT_SETUP_MM_DD_YY", 1},
    {"STR_US_CMB_DATA_FORMAT_SETUP_DD_MM_YY", 2},
    {"STR_US_CMB_DATA_FORMAT_SETUP_YY_MM_DD", 0},
};
constexpr CChoiceDef kPresetZoom[] = {
    {"STR_US_CMB_PRESET_ZOOM_CHANGE_INCH", 0},
    {"STR_US_CMB_PRESET_ZOOM_CHANGE_METRIC", 1},
};

// A two-digit date or time edit, shown as "%02d".
struct CDateEditRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view item = {};
    std::int32_t row = -1;
    std::int32_t column = 0;
    std::int32_t focusOnFull = 0;
};

constexpr CControlDef DateEdit(const CDateEditRow& r)
{
    return {.id = r.id,
            .kind = ControlKind::Edit,
            .name = r.name,
            .binding = Binding::Number,
            .item = r.item,
            .limit = 2,
            .inputKind = InputKind::Digits,
            .numberWidth = 2,
            .row = r.row,
            .column = r.column,
            .focusOnFull = r.focusOnFull};
}

// The time zone's hour and minute combos share row 3; the page's rules map their positions.
struct CZoneComboRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::span<const CChoiceDef> choices = {};
    std::int32_t column = 0;
};

constexpr CControlDef ZoneCombo(const CZoneComboRow& r)
{
    return {.id = r.id, .kind = ControlKind::Combo, .name = r.name, .choices = r.choices, .row = 3, .column = r.column};
}

constexpr CControlDef kUserControls[] = {
    Label({.id = 1120, .name = "faxCountryLabel", .textKey = "STR_US_TXT_FAX_PTT_SETTING", .row = 0}),
    Combo({.id = 1121, .name = "faxCountryCombo", .item = "USER_FAX_PTT_SET", .choices = kCountries, .row = 0}),
    Label({.id = 1124, .name = "timeLabel", .textKey = "STR_US_TXT_TIME", .row = 1}),
    // Typing runs on: hour to minute, minute to year, year to month.
    DateEdit(
        {.id = kHour, .name = "hourEdit", .item = "USER_TIME_HOUR", .row = 1, .column = 1, .focusOnFull = kMinute}),
    DateEdit({.id = kMinute,
              .name = "minuteEdit",
              .item = "USER_TIME_MINUTES",
              .row = 1,
              .column = 2,
              .focusOnFull = kYear}),
    Label({.id = 1128, .name = "dateLabel", .textKey = "STR_US_TXT_DATE", .row = 2}),
    DateEdit({.id = kYear, .name = "yearEdit", .item = "USER_TIME_YEAR", .row = 2, .column = 1, .focusOnFull = kMonth}),
    DateEdit({.id = kMonth, .name = "monthEdit", .item = "USER_TIME_MOUTH", .row = 2, .column = 2}),
    DateEdit({.id = kDay, .name = "dayEdit", .item = "USER_TIME_DAY", .row = 2, .column = 3}),
    Label({.id = 1134, .name = "timeZoneLabel", .textKey = "STR_US_TXT_TIME_ZONE", .row = 3}),
    ZoneCombo({.id = kZoneHour, .name = "timeZoneHourCombo", .choices = kZoneHours, .column = 1}),
    ZoneCombo({.id = kZoneMinute, .name = "timeZoneMinuteCombo", .choices = kZoneMinutes, .column = 2}),
    Label({.id = 1138, .name = "dateFormatLabel", .textKey = "STR_US_TXT_DATE_FORMAT", .row = 4}),
    Combo({.id = 1139, .name = "dateFormatCombo", .item = "USER_DATE_FORMAT_SET", .choices = kDateFormats, .row = 4}),
    Label({.id = 1140, .name = "presetZoomLabel", .textKey = "STR_US_TXT_PRESET_ZOOM_CHANGE", .row = 5}),
    Combo({.id = 1141, .name = "presetZoomCombo", .item = "USER_PRESET_ZOOM_CHANGE", .choices = kPresetZoom, .row = 5}),
    Label({.id = 1142, .name = "userFaxNumberLabel", .textKey = "STR_US_TXT_USER_FAX_NUMBER", .row = 6}),
    TextEdit({.id = kUserFaxNumber,
              .name = "userFaxNumberEdit",
              .item = "USER_FAXNAME",
              .inputKind = InputKind::InternationalNumber,
              .limit = 20,
              .row = 6,
              .check = CheckRule::None}),
    Label({.id = 1144, .name = "userNameLabel", .textKey = "STR_US_TXT_USER_NAME", .row = 7}),
    {.id = kUserName,
     .kind = ControlKind::Edit,
     .name = "userNameEdit",
     .binding = Binding::PanelText,
     .item = "USER_NAME",
     .limit = 32,
     .inputKind = InputKind::Name,
     .row = 7,
     .column = 1},
};

// GMT-12 and GMT+12 have no half hour, and GMT-00 exists only as -00:30.
void ApplyZoneMinuteRule(CPage& page)
{
    const std::int32_t hour = page.State(kZoneHour).value;
    const bool fixed = hour == kGmtMinus12 || hour == kGmtPlus12 || hour == kGmtMinus00;
    if (fixed) {
        page.SelectValue(kZoneMinute, hour == kGmtMinus00 ? 1 : 0);
    }
    page.SetEnabled(kZoneMinute, !fixed);
}

void LoadUser(CPage& page)
{
    const CTimeZonePositions zone = TimeZonePositions(page.Env().store->GetItemNumber(kUserPage, "USER_TIME_ZOON"));
    page.SelectValue(kZoneHour, zone.hour);
    page.SelectValue(kZoneMinute, zone.minute);
    ApplyZoneMinuteRule(page);
}

void UserChanged(CPage& page, std::int32_t id)
{
    if (id == kZoneHour) {
        ApplyZoneMinuteRule(page);
    }
}

// The clock edits refuse, as they are typed, a first digit that no hour, minute or month starts
// with, and a second digit past 23 hours, 12 months or 31 days.
bool AcceptsUserText(const CPage&, std::int32_t id, std::u16string_view text)
{
    const char16_t first = text.empty() ? u'0' : text[0];
    const char16_t second = text.size() > 1 ? text[1] : u'0';
    switch (id) {
        case kHour:
            return first < u'2' || (first == u'2' && second <= u'3');
        case kMinute:
            return first <= u'5';
        case kMonth:
            return first < u'1' || (first == u'1' && second <= u'2');
        case kDay:
            return first < u'3' || (first == u'3' && second <= u'1');
        default:
            return true;
    }
}

struct CClockField
{
    std::int32_t id;
    std::int32_t minimum;
    std::int32_t maximum;
};

// The device takes a real date and time; the year is the two digits after 2000.
constexpr CClockField kClockFields[] = {
    {.id = kHour, .minimum = 0, .maximum = 23},
    {.id = kMinute, .minimum = 0, .maximum = 59},
    {.id = kYear, .minimum = 0, .maximum = 99},
    {.id = kMonth, .minimum = 1, .maximum = 12},
    {.id = kDay, .minimum = 1, .maximum = 31},
};

CCheckResult CheckUser(const CPage& page)
{
    const CValueStore& store = *page.Env().store;
    for (const CClockField& field : kClockFields) {
        const std::u16string& text = page.State(field.id).text;
        if (text.empty() || !IsInputTextValid(text, InputKind::Digits, store) ||
            !IsInRange(text, field.minimum, field.maximum)) {
            return {kMsgInvalidRangeValue, field.id};
        }
    }
    const std::int64_t month = LeadingDecimal(page.State(kMonth).text);
    const std::int64_t day = LeadingDecimal(page.State(kDay).text);
    // 29 February passes in every year: the device keeps the calendar, not the utility.
    const bool thirtyDays = month == 4 || month == 6 || month == 9 || month == 11;
    if ((thirtyDays && day == 31) || (month == 2 && day >= 30)) {
        return {kMsgInvalidRangeValue, kDay};
    }
    if (!IsInputTextValid(page.State(kUserFaxNumber).text, InputKind::InternationalNumber, store)) {
        return {kMsgInvalidRangeValue, kUserFaxNumber};
    }
    if (!IsInputTextValid(page.State(kUserName).text, InputKind::Name, store)) {
        return {kMsgInvalidRangeValue, kUserName};
    }
    return {};
}

void StoreUser(const CPage& page, CValueStore& store)
{
    store.SetItemNumber(
        kUserPage, "USER_TIME_ZOON", StoredTimeZone({page.State(kZoneHour).value, page.State(kZoneMinute).value}));
}

constexpr CPageRules kUserRules{.afterLoad = LoadUser,
                                .onChange = UserChanged,
                                .check = CheckUser,
                                .afterStore = StoreUser,
                                .acceptsText = AcceptsUserText};

constexpr CPageDef kUserPageDef{.name = kUserPage,
                                .className = "CUserSetDlg",
                                .typeCode = 0x02000800,
                                .titleKey = "STR_TREE_USER_SETTING",
                                .ratioKey = "STR_RATIO_TREE_USER_SETTING",
                                .controls = kUserControls,
                                .rules = &kUserRules};

} // namespace

CTimeZonePositions TimeZonePositions(std::int32_t stored)
{
    if (stored >= 0 && stored <= 24) {
        return {kGmtPlus00 + stored / 2, stored % 2};
    }
    if (stored >= 33 && stored <= 56) {
        const std::int32_t halfHoursWest = stored - 32;
        return {kGmtMinus00 - halfHoursWest / 2, halfHoursWest % 2};
    }
    // 25-32 are not used and anything else would point past the list.
    return {kGmtPlus00, 0};
}

std::int32_t StoredTimeZone(const CTimeZonePositions& positions)
{
    const std::int32_t hour = std::clamp(positions.hour, kGmtMinus12, kGmtPlus12);
    std::int32_t minute = std::clamp(positions.minute, 0, 1);
    if (hour == kGmtMinus12 || hour == kGmtPlus12) {
        minute = 0;
    } else if (hour == kGmtMinus00) {
        minute = 1;
    }
    if (hour >= kGmtPlus00) {
        return (hour - kGmtPlus00) * 2 + minute;
    }
    return 32 + (kGmtMinus00 - hour) * 2 + minute;
}

const CPageDef& UserSettingsPage()
{
    return kUserPageDef;
}

} // namespace qzb
