#include "print/print_settings.h"

#include "addressbook/group_label.h"
#include "app/app_context.h"
#include "app/english_texts.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"
#include "pages/control_rows.h"
#include "pages/page.h"
#include "print/selected_numbers.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <iterator>

namespace qzb {

using namespace rows;

namespace {

constexpr std::int32_t kSpeedDialCheck = 1100;
constexpr std::int32_t kGroupDialCheck = 1110;
constexpr std::int32_t kAddressBookCheck = 1120;

// The controls a list's check box enables: two radios, the edit and the range text.
constexpr std::int32_t kControlsPerList = 4;

struct CListItems
{
    std::string_view chosen;
    std::string_view mode;
    std::string_view numbers;
    std::int32_t limit;
};

constexpr CListItems kSpeedDialItems{
    "PRINT_SPEED_DIAL", "PRINT_SPEED_DIAL_LIST_MODE", "PRINT_SPEED_DIAL_SELECT_NO", kSpeedDialPrintLimit};
constexpr CListItems kGroupDialItems{
    "PRINT_GROUP_DIAL", "PRINT_GROUP_DIAL_LIST_MODE", "PRINT_GROUP_DIAL_SELECT_NO", kGroupDialPrintLimit};
constexpr CListItems kAddressBookItems{
    "PRINT_ADDRESS_BOOK", "PRINT_ADDRESS_BOOK_LIST_MODE", "PRINT_ADDRESS_BOOK_SELECT_NO", kFavouritePrintLimit};

struct CListRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view textKey = {};
    std::string_view item = {};
    std::int32_t row = -1;
};

constexpr CControlDef NumbersEdit(const CListRow& r)
{
    // Digits, commas and dashes; the numbers are read as leniently as they print.
    CControlDef edit = TextEdit({.id = r.id,
                                 .name = r.name,
                                 .item = r.item,
                                 .inputKind = InputKind::NumberList,
                                 .limit = 0,
                                 .row = r.row,
                                 .check = CheckRule::None});
    edit.column = 2;
    return edit;
}

constexpr CControlDef RangeLabel(const CListRow& r)
{
    CControlDef label = Label({.id = r.id, .name = r.name, .textKey = r.textKey, .row = r.row});
    label.column = 3;
    return label;
}

// Modes: 0 prints all numbers; the selected-numbers radio takes every other value.
constexpr CControlDef kControls[] = {
    CheckBox({.id = kSpeedDialCheck,
              .name = "speedDialCheck",
              .textKey = "STR_DLG_SPI_CHK_PRINT_SPEED_DIAL_LIST",
              .item = kSpeedDialItems.chosen,
              .row = 0,
              .column = 0,
              .binding = Binding::CheckNonZero}),
    RadioButton({.id = 1101,
                 .name = "speedDialAllRadio",
                 .textKey = "STR_DLG_SPI_RAD_ALL",
                 .item = kSpeedDialItems.mode,
                 .group = 1,
                 .radioValue = 0,
                 .row = 1,
                 .column = 1}),
    RadioButton({.id = 1102,
                 .name = "speedDialSelectRadio",
                 .textKey = "STR_DLG_SPI_RAD_SELECT_NO",
                 .item = kSpeedDialItems.mode,
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 2,
                 .column = 1}),
    NumbersEdit({.id = 1103, .name = "speedDialNumbersEdit", .item = kSpeedDialItems.numbers, .row = 2}),
    RangeLabel(
        {.id = 1104, .name = "speedDialRangeLabel", .textKey = "STR_DLG_SPI_CHK_PRINT_SPEED_DIAL_RANGE", .row = 2}),
    CheckBox({.id = kGroupDialCheck,
              .name = "groupDialCheck",
              .textKey = "STR_DLG_SPI_CHK_PRINT_GROUP_DIAL_LIST",
              .item = kGroupDialItems.chosen,
              .row = 3,
              .column = 0,
              .binding = Binding::CheckNonZero}),
    RadioButton({.id = 1111,
                 .name = "groupDialAllRadio",
                 .textKey = "STR_DLG_SPI_RAD_ALL",
                 .item = kGroupDialItems.mode,
                 .group = 2,
                 .radioValue = 0,
                 .row = 4,
                 .column = 1}),
    RadioButton({.id = 1112,
                 .name = "groupDialSelectRadio",
                 .textKey = "STR_DLG_SPI_RAD_SELECT_NO",
                 .item = kGroupDialItems.mode,
                 .group = 2,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 5,
                 .column = 1}),
    NumbersEdit({.id = 1113, .name = "groupDialNumbersEdit", .item = kGroupDialItems.numbers, .row = 5}),
    RangeLabel({.id = 1114, .name = "groupDialRangeLabel", .textKey = "STR_DLG_EGN_TXT_GROUP_NAME_RANGE", .row = 5}),
    CheckBox({.id = kAddressBookCheck,
              .name = "addressBookCheck",
              .textKey = "STR_DLG_SPI_CHK_PRINT_ADDRESS_BOOK_LIST",
              .item = kAddressBookItems.chosen,
              .row = 6,
              .column = 0,
              .binding = Binding::CheckNonZero}),
    RadioButton({.id = 1121,
                 .name = "addressBookAllRadio",
                 .textKey = "STR_DLG_SPI_RAD_ALL",
                 .item = kAddressBookItems.mode,
                 .group = 3,
                 .radioValue = 0,
                 .row = 7,
                 .column = 1}),
    RadioButton({.id = 1122,
                 .name = "addressBookSelectRadio",
                 .textKey = "STR_DLG_SPI_RAD_SELECT_NO",
                 .item = kAddressBookItems.mode,
                 .group = 3,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 8,
                 .column = 1}),
    NumbersEdit({.id = 1123, .name = "addressBookNumbersEdit", .item = kAddressBookItems.numbers, .row = 8}),
    RangeLabel(
        {.id = 1124, .name = "addressBookRangeLabel", .textKey = "STR_DLG_SPI_CHK_PRINT_ADDRESS_BOOK_RANGE", .row = 8}),
};

void EnableChosenLists(CPage& page)
{
    for (const std::int32_t check : {kSpeedDialCheck, kGroupDialCheck, kAddressBookCheck}) {
        for (std::int32_t id = check + 1; id <= check + kControlsPerList; ++id) {
            page.SetEnabled(id, page.IsChecked(check));
        }
    }
}

void ChangedControl(CPage& page, std::int32_t)
{
    EnableChosenLists(page);
}

constexpr CPageRules kRules{.afterLoad = EnableChosenLists, .onChange = ChangedControl};

constexpr CPageDef kDialog{.name = kPrintItemPage,
                           .className = "CSelectPriItemDlg",
                           .pageClass = PageClass::SettingDialog,
                           .titleKey = "STR_DLG_SELECT_PRINT_ITEMS",
                           .ratioKey = "STR_RATIO_DLG_SELECT_PRINT_ITEMS",
                           .controls = kControls,
                           .rules = &kRules};

// The buttons the dialog adds below the table.
constexpr std::string_view kButtonKeys[] = {"STR_DLG_BTN_OK", "STR_DLG_BTN_CANCEL"};

std::vector<std::int32_t> ListNumbers(const CValueStore& store, const CListItems& items)
{
    if (store.GetItemNumber(kPrintItemPage, items.mode) == 0) {
        return AllNumbers(items.limit);
    }
    return SelectedNumbers(store.GetItemText(kPrintItemPage, items.numbers), items.limit);
}

} // namespace

CPrintSelection ReadPrintSelection(const CValueStore& store)
{
    CPrintSelection selection;
    selection.speedDial = store.GetItemNumber(kPrintItemPage, kSpeedDialItems.chosen) != 0;
    selection.groupDial = store.GetItemNumber(kPrintItemPage, kGroupDialItems.chosen) != 0;
    selection.favourite = store.GetItemNumber(kPrintItemPage, kAddressBookItems.chosen) != 0;
    selection.speedNumbers = ListNumbers(store, kSpeedDialItems);
    selection.groupNumbers = ListNumbers(store, kGroupDialItems);
    selection.favouriteNumbers = ListNumbers(store, kAddressBookItems);
    return selection;
}

const CPageDef& SelectPrintItemDialog()
{
    return kDialog;
}

bool SelectPrintItemAccepts(const CPage& page)
{
    return page.IsChecked(kSpeedDialCheck) || page.IsChecked(kGroupDialCheck) || page.IsChecked(kAddressBookCheck);
}

CPrintSource PrintSourceOf(const CAppContext& context, std::u16string userName, std::uint16_t today)
{
    CPrintSource source;
    source.book = &context.device.book;
    source.dateFormat = context.store.GetItemNumber("USER_SET_DLG", "USER_DATE_FORMAT_SET");
    source.panelLanguage = PanelLanguage(context.store);
    const std::u16string* format = context.strings.Find(kGroupLabelKey);
    source.groupLabelFormat = format != nullptr ? *format : EnglishText(kGroupLabelKey);
    source.userName = std::move(userName);
    source.today = today;
    source.texts = TranslatedTexts(context.strings);
    return source;
}

std::u16string LoggedOnUserName()
{
    std::string name;
    if (const char* login = ::getlogin(); login != nullptr) {
        name = login;
    } else if (const passwd* user = ::getpwuid(::geteuid()); user != nullptr && user->pw_name != nullptr) {
        name = user->pw_name;
    }
    return Utf8ToUtf16(name);
}

std::vector<std::string> PrintTextKeys()
{
    std::vector<std::string> keys(std::begin(kButtonKeys), std::end(kButtonKeys));
    keys.emplace_back(kDialog.titleKey);
    keys.emplace_back(kDialog.ratioKey);
    for (const CControlDef& control : kDialog.controls) {
        if (!control.textKey.empty()) {
            keys.emplace_back(control.textKey);
        }
    }
    keys.emplace_back("STR_MENU_PRINT");
    keys.emplace_back("STR_MSG_PRINTING_START");
    const std::vector<std::string> listKeys = ListTextKeys();
    keys.insert(keys.end(), listKeys.begin(), listKeys.end());
    return keys;
}

} // namespace qzb
